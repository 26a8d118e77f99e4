#!/bin/sh
# Runs the test program of a build in one process per core, each taking its share of the tests
# (GoogleTest's sharding), with the drivers the suite uses. A sanitized process costs much more to
# start than a test costs to run, so this is far quicker than one process per test.
# Usage: scripts/run-test-shards.sh BUILD_DIR SHARDS [GTEST_FILTER]
set -u
build=$1
shards=$2
filter=${3:-*}
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
export SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=offscreen GTEST_TOTAL_SHARDS="$shards"
i=0
while [ "$i" -lt "$shards" ]; do
  (cd "$build" && GTEST_SHARD_INDEX=$i ./kelmora_tests --gtest_filter="$filter" > "$logs/$i.log" 2>&1
   echo $? > "$logs/$i.status") &
  i=$((i + 1))
done
wait
failed=0
i=0
while [ "$i" -lt "$shards" ]; do
  if [ "$(cat "$logs/$i.status")" != 0 ]; then
    failed=1
    echo "--- $build: test shard $i of $shards failed:"
    cat "$logs/$i.log"
  fi
  grep -h '^\[  PASSED  \]\|^\[  FAILED  \]' "$logs/$i.log" | sed "s|^|$build shard $i: |"
  i=$((i + 1))
done
exit $failed
