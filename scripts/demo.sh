#!/usr/bin/env bash
# Installs what is missing, builds in Release and flies the sample scenario in the
# simulated host; images and logs go to out/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DVEK_TESTS=OFF
cmake --build build-release -j"$jobs" --target vek1_gau vek-host
rm -rf out/sim && mkdir -p out && cp -r data/sample out/sim
./build-release/vek-host --module build-release/gauges/vek1.gau --sim out/sim \
  --panel out/sim/panel.cfg --scenario out/sim/scenarios/demo.txt --out out "$@"
echo "demo output in $(pwd)/out"
