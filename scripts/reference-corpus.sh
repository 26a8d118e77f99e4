#!/bin/sh
# The reference corpus: fixed headless runs whose dumps, event logs and screenshots must stay
# byte for byte the same while the code around the rules changes shape. Every stage with four
# computer seats, seeded random human matches through the key map (tests/corpus), every
# power's script of docs/powers, the delivery of docs/play and the front-end journey.
#
#   scripts/reference-corpus.sh BUILD OUT [EXTRA...]   writes every output to OUT and OUT/SUMS
#   scripts/reference-corpus.sh --check BUILD OUT      the same, then compares OUT/SUMS with
#                                                      tests/corpus/reference.sums, in a new
#                                                      folder under OUT, removed when they agree
# EXTRA options are added to every run (for example --synctest 8: its outputs must not change).
set -e
check=0
if [ "$1" = "--check" ]; then check=1; shift; fi
build=$1
out=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "$build" && pwd)/kelmora
mkdir -p "$out"
out=$(cd "$out" && pwd)
# A check writes into a folder of its own, so that two checks at once never mix their files.
if [ "$check" = 1 ]; then out=$(mktemp -d "$out/check.XXXXXX"); fi
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy

# run NAME ARGS...: one headless run, its dump and events named after it.
run() {
  name=$1
  shift
  if ! "$bin" --headless "$@" --dump "$out/$name.jsonl" --events "$out/$name.events" > "$out/$name.out" 2>&1; then
    echo "reference-corpus: $name failed:" >&2
    cat "$out/$name.out" >&2
    exit 1
  fi
}

# shots NAME FIRST STEP LAST: --screenshot options every STEP ticks.
shots() {
  t=$2
  while [ "$t" -le "$4" ]; do
    printf ' --screenshot %s:%s/%s-%s.png' "$t" "$out" "$1" "$t"
    t=$((t + $3))
  done
}

for stage in 0 1 2 3 4 5; do
  # shellcheck disable=SC2046
  run "stage$stage" --match "$stage:0,1,2,3:1111" $(shots "stage$stage" 1 97 1899) "$@"
  run "stage${stage}b" --match "$stage:5,6,7,8:1111" --mode 400 $(shots "stage${stage}b" 13 211 1899) "$@"
done

for script in "$root"/tests/corpus/random-*.txt; do
  name=$(basename "$script" .txt)
  # The script's second line names its match, mode and music.
  args=$(sed -n 2p "$script" | sed 's/.*kelmora --headless //; s/ --script .*//')
  # shellcheck disable=SC2086,SC2046
  run "$name" $args --script "$script" $(shots "$name" 7 149 1899) "$@"
done

for row in bear:0,1,-1,-1:45 fox:-1,-1,-1,1:25 spider:0,-1,4,-1:70 fish:-1,5,-1,1:60 pig:-1,-1,2,1:61 \
           mole:-1,-1,-1,6:30 glide:-1,-1,7,-1:44 fire:0,-1,8,-1:38 suction:-1,-1,-1,3:100; do
  name=${row%%:*}
  rest=${row#*:}
  chars=${rest%%:*}
  tick=${rest#*:}
  # shellcheck disable=SC2046
  run "power-$name" --mode 400 --match "0:$chars:0000" --script "$root/docs/powers/$name.txt" \
    --screenshot "$tick:$out/power-$name-$tick.png" $(shots "power-$name" 2 3 80) "$@"
done

# shellcheck disable=SC2046
run delivery --match 0:0,1,-1,-1:0000 --mode 400 --script "$root/docs/play/scoop-carry-throw.txt" \
  $(shots delivery 30 2 100) "$@"

run journey --script "$root/tests/corpus/journey.txt" --screenshot "@3:$out/journey-title.png" \
  --screenshot "@135:$out/journey-loading.png" --screenshot "@2050:$out/journey-after.png" \
  $(shots journey 1 300 1899) "$@"

(cd "$out" && sha256sum -- *.jsonl *.events *.png > SUMS)
echo "reference-corpus: $(wc -l < "$out/SUMS") files in $out"
if [ "$check" = 1 ]; then
  if diff "$root/tests/corpus/reference.sums" "$out/SUMS" > "$out/SUMS.diff"; then
    echo "reference-corpus: identical to the reference"
    rm -rf "$out"
  else
    echo "reference-corpus: differs from the reference (the runs are in $out):" >&2
    grep '^[<>]' "$out/SUMS.diff" | head -20 >&2
    exit 1
  fi
fi
