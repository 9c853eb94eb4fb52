#!/usr/bin/env bash
# Installs what is missing, builds in Debug with sanitizers and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=Debug -DVEK_WERROR=ON
cmake --build build -j"$jobs"
ctest --test-dir build -j"$jobs" --output-on-failure --no-tests=error
