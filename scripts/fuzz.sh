#!/usr/bin/env bash
# Runs every libFuzzer target for SECONDS each (default 600), built with clang in
# build-fuzz and seeded from its checked-in corpus fuzz/corpus/<target>/. New inputs go
# to build-fuzz/corpus/<target>/, findings and logs to build-fuzz/findings/<target>/.
# With --merge the checked-in corpus becomes the smallest set of its inputs and the new
# ones that covers what they cover, each cut to 512 bytes (keep it at most 200 files a
# target; inputs that once crashed are added by hand); the seeds ("seed_*", whole files
# that reach the readers' deeper paths) are kept whole. FUZZ_JOBS targets run at a time
# (default 1).
#   scripts/fuzz.sh [--merge] [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
merge=0
if [ "${1:-}" = "--merge" ]; then
  merge=1
  shift
fi
seconds=${1:-600}
[ $# -gt 0 ] && shift
jobs=${FUZZ_JOBS:-1}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DVEK_FUZZ=ON -DVEK_TESTS=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for exe in build-fuzz/fuzz/fuzz_*; do targets+=("$(basename "$exe")"); done
fi

run_target() {
  local t=$1 exe=build-fuzz/fuzz/$1 new=build-fuzz/corpus/$1 findings=build-fuzz/findings/$1
  mkdir -p "$new" "$findings" "fuzz/corpus/$t"
  local status=0
  "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$new" "fuzz/corpus/$t" >"$findings/log.txt" 2>&1 || status=$?
  local runs cov corpus
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$findings/log.txt" | tail -1)
  cov=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$findings/log.txt" | tail -1)
  corpus=$(find "$new" "fuzz/corpus/$t" -type f | wc -l)
  if [ "$status" -eq 0 ]; then
    echo "$t: ${seconds}s, ${runs:-0} runs, ${cov:-cov: ?}, $corpus inputs, no finding"
  else
    echo "$t: FINDING (exit $status), see $findings/log.txt"
  fi
  if [ "$merge" -eq 1 ] && [ "$status" -eq 0 ]; then
    local merged=build-fuzz/merged/$t
    rm -rf "$merged"
    mkdir -p "$merged"
    "$exe" -set_cover_merge=1 -max_len=512 "$merged" "fuzz/corpus/$t" "$new" >"$findings/merge.txt" 2>&1
    # A seed cut to 512 bytes would be a cut file, which the readers refuse at its last line.
    find "fuzz/corpus/$t" -maxdepth 1 -name 'seed_*' -exec cp {} "$merged/" \;
    rm -rf "fuzz/corpus/$t"
    mv "$merged" "fuzz/corpus/$t"
  fi
  return "$status"
}

failed=0
running=0
for t in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
  run_target "$t" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
exit "$failed"
