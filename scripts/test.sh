#!/usr/bin/env bash
# Installs what is missing, builds in Debug with sanitizers and runs every test: once
# one test per process (ctest), then each test program whole in a shuffled order, so
# that no test depends on what an earlier one left behind.
# The shuffle's seed comes from the commit (the same order for the same commit, another
# for the next) unless VEK_TEST_SEED names one; it is printed, to replay a failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=Debug -DVEK_WERROR=ON
cmake --build build -j"$jobs"
ctest --test-dir build -j"$jobs" --output-on-failure --no-tests=error

commit=$(git rev-parse --short=6 HEAD 2>/dev/null || echo 1)
seed=${VEK_TEST_SEED:-$((16#$commit % 99999 + 1))}
echo "Each test program whole, shuffled with seed $seed"
logs=$(mktemp -d)
# Run from the program's own build folder, as ctest runs it.
run_whole() {
  local program=$1 seed=$2 logs=$3
  local name
  name=$(basename "$program")
  if (cd "$(dirname "$program")" && "./$name" --gtest_shuffle --gtest_random_seed="$seed") >"$logs/$name.log" 2>&1; then
    echo "passed: $name"
  else
    echo "FAILED: $name (replay: cd $(dirname "$program") && ./$name --gtest_shuffle --gtest_random_seed=$seed)"
    grep -E '^\[  FAILED  \]' "$logs/$name.log" | sort -u || true
    return 1
  fi
}
export -f run_whole
status=0
# Each program draws its images whole, as under ctest (CMakeLists.txt): one runs per core.
export VEK_RASTER_THREADS=0
find build/tests -mindepth 2 -maxdepth 2 -type f -name 'test_*' -perm -u+x | sort |
  xargs -P "$jobs" -I{} bash -c 'run_whole "$@"' _ {} "$seed" "$logs" || status=1
rm -rf "$logs"
exit "$status"
