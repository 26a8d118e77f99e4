#!/bin/sh
# Runs each libFuzzer target for SECONDS seconds, from a corpus that starts with the game's own
# files and grows run after run. An input that crashes, hangs (10 s), breaks a reader's
# promise or (models) leaks is kept in FUZZ_BUILD/faults; the run then stops with status 1.
# Each target has a dictionary of its format's words (tests/fuzz/*.dict), and inputs may grow
# to MAX_LEN bytes (128 KB unless set), past the fixed sizes a reader may keep a name in.
# Usage: scripts/fuzz.sh FUZZ_BUILD BUILD SECONDS
set -e
FUZZ_BUILD=$1
BUILD=$2
SECONDS_EACH=${3:-60}
MAX_LEN=${MAX_LEN:-131072}
HERE=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$FUZZ_BUILD/faults"

seed() {  # seed READER FILES...: copies the files the corpus does not have yet
  reader=$1; shift
  mkdir -p "$FUZZ_BUILD/corpus/$reader"
  for f in "$@"; do [ -f "$f" ] && cp -n "$f" "$FUZZ_BUILD/corpus/$reader/" || true; done
}
seed script "$HERE"/docs/play/*.txt "$HERE"/docs/powers/*.txt
# Small files mutate fast: the test models (text .x), the game's small models (binary .x), tiny
# textures of each depth.
seed model "$HERE"/tests/data/*.x $(find "$BUILD/model" -name '*.x' -size -64k)
seed texture "$HERE"/tests/fuzz/seeds/*.bmp "$BUILD"/tex/net.bmp
seed packet "$HERE"/tests/fuzz/seeds/*.packet

status=0
for reader in script model texture packet; do
  case $reader in script) dict=script.dict ;; model) dict=x.dict ;; texture) dict=bmp.dict ;; packet) dict=packet.dict ;; esac
  echo "fuzz_$reader: $SECONDS_EACH s, inputs up to $MAX_LEN bytes, dictionary $dict"
  # Models with leak detection: the model check hands the reader only files it reads to the
  # end, so a leak there is a file the check and the reader read differently.
  leaks=0
  [ "$reader" = model ] && leaks=1
  # -len_control=0: inputs may take the whole length at once instead of growing towards it.
  if ! ASAN_OPTIONS=detect_leaks=$leaks "$FUZZ_BUILD/tests/fuzz/fuzz_$reader" -max_total_time="$SECONDS_EACH" \
      -dict="$HERE/tests/fuzz/$dict" -max_len="$MAX_LEN" -len_control=0 \
      -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$FUZZ_BUILD/faults/$reader-" \
      "$FUZZ_BUILD/corpus/$reader" > "$FUZZ_BUILD/fuzz_$reader.log" 2>&1; then
    status=1
    echo "fuzz_$reader found a fault: see $FUZZ_BUILD/fuzz_$reader.log and $FUZZ_BUILD/faults/"
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$FUZZ_BUILD/fuzz_$reader.log" || true
  sizes=$(find "$FUZZ_BUILD/corpus/$reader" -type f -printf '%s\n' | sort -n)
  echo "corpus: $(echo "$sizes" | wc -l) inputs, the largest $(echo "$sizes" | tail -1) bytes"
done
exit $status
