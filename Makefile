# The two commands of the README: `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local
# Line tables are enough for profiles and sanitizer reports, and cost less to compile than
# full debug information.
RELEASE_FLAGS ?= -O2 -g1 -DNDEBUG
DEBUG_FLAGS   ?= -g1
# `make test` (and so the CI) builds with warnings as errors; `make run` keeps them warnings, so
# that the new warnings of a newer compiler never keep a player from building the game. The
# other targets keep what the build folder was last configured with.
WERROR =
test: WERROR = -DKELMORA_WERROR=ON
run: WERROR = -DKELMORA_WERROR=OFF

.PHONY: run test setup build build-asan bench clean install uninstall package soak memory fuzz

setup:
	@./scripts/setup.sh

build: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=$(RELEASE_FLAGS)" $(WERROR) > /dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# The sanitizer build takes its assets from the release build's generator.
build-asan: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=$(RELEASE_FLAGS)" $(WERROR) > /dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target assetgen
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=$(DEBUG_FLAGS)" -DKELMORA_SANITIZE=ON \
	  -DKELMORA_ASSETGEN=$(abspath $(BUILD))/tools/assetgen/assetgen $(WERROR) > /dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS) --target kelmora kelmora_tests

# Only the game and the assets it reads (no tests, benchmarks or icons): the first picture
# comes sooner on a fresh clone.
run: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=$(RELEASE_FLAGS)" $(WERROR) > /dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target kelmora
	@$(BUILD)/kelmora

# The asset generator is built without the sanitizers, and installing and packaging are the
# same in both builds: their tests run once, in the release build, as does the resident-size
# check (the sanitizers hold freed memory back). The sanitized tests run in
# one process per core (see scripts/run-test-shards.sh).
RELEASE_ONLY_TESTS = 'AssetGenerator.*:AudioGeneration.*:Installing.*:Memory.*'

# Leaks are checked at the end of every sanitized process, the program's own runs included;
# what system libraries leak is suppressed by their names in tests/lsan.supp (absolute: the
# tests run from other folders). The list of suppressions used is not printed, so that the
# output of the program's runs stays what the tests expect.
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1

test: build build-asan
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@$(SANITIZER_ENV) ./scripts/run-test-shards.sh $(ASAN_BUILD) $(JOBS) -$(RELEASE_ONLY_TESTS)

# SOAK_MATCHES random matches under the sanitizers, every tick checked; the first fault stops
# the run, names its seed and leaves the script that plays it again in $(ASAN_BUILD)/soak.
SOAK_MATCHES ?= 1000
SOAK_SEED    ?= 1000

soak: build-asan
	@mkdir -p $(ASAN_BUILD)/soak
	@cd $(ASAN_BUILD) && $(SANITIZER_ENV) SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=offscreen \
	  KELMORA_SOAK_MATCHES=$(SOAK_MATCHES) KELMORA_SOAK_SEED=$(SOAK_SEED) KELMORA_SOAK_DIR=$(abspath $(ASAN_BUILD))/soak \
	  ./kelmora_tests --gtest_filter='Soak.*'

# The resident size over 500 whole matches reached through the front end, in one process.
memory: build
	@cd $(BUILD) && SDL_AUDIODRIVER=dummy ./kelmora_tests --gtest_also_run_disabled_tests --gtest_filter='Memory.*'

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x $$b ] && $$b; done

# Long fuzzing runs outside the suite: each libFuzzer target (scripts, models, textures) for
# FUZZ_SECONDS seconds, built with clang under the sanitizers and started from the game's own
# files, with a dictionary of each format's words and inputs of up to FUZZ_MAX_LEN bytes; an
# input that fails is kept in $(FUZZ_BUILD)/faults.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_MAX_LEN ?= 131072

fuzz: build
	@./scripts/setup.sh fuzz
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
	  "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" -DKELMORA_SANITIZE=ON -DKELMORA_FUZZ=ON -DKELMORA_BENCH=OFF > /dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_script fuzz_model fuzz_texture fuzz_packet
	@MAX_LEN=$(FUZZ_MAX_LEN) ./scripts/fuzz.sh $(FUZZ_BUILD) $(BUILD) $(FUZZ_SECONDS)

# `make install PREFIX=DIR` (DESTDIR is honoured too) installs both components, the game and
# its data; `make uninstall` removes exactly the files that the last install recorded. The
# record is kept apart from CMake's own install manifests, which runs of CPack rewrite with
# their staging files.
INSTALL_RECORD = $(abspath $(BUILD))/installed-files.txt

install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)
	@cp $(BUILD)/install_manifest.txt $(INSTALL_RECORD)

uninstall:
	@cmake -DMANIFEST=$(INSTALL_RECORD) -P cmake/uninstall.cmake
	@rm -f $(INSTALL_RECORD)

# The Debian packages, $(BUILD)/kelmora_VERSION_ARCH.deb and $(BUILD)/kelmora-data_VERSION_all.deb.
package: build
	@cd $(BUILD) && cpack --config CPackConfig.cmake

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
