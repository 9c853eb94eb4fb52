#!/usr/bin/env bash
# Installs what is missing, builds in Release and runs the road of one request in the
# simulated host: a route built on the Smiths FMS CDU, executed and flown with LNAV and
# VNAV. Pictures of the CDU and the navigation displays, the host's log and the flight
# logs go to out/. Arguments: a scenario of data/sample/scenarios and the panel it
# flies on, e.g. `scripts/demo.sh proline4_efs50.txt panel_proline4_efs50.cfg`.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DVEK_TESTS=OFF
cmake --build build-release -j"$jobs" --target vek1_gau vek-host
rm -rf out && mkdir -p out && cp -r data/sample out/sim
scenario=${1:-road_of_one_request.txt}
# The panel: a second argument, else panel_SCENARIO.cfg or, for a scenario "NAME_...",
# panel_NAME.cfg when the sample folder has one, else panel.cfg.
if [ $# -ge 2 ]; then
  panel=out/sim/$2
else
  panel=out/sim/panel_${scenario%.txt}.cfg
  [ -f "$panel" ] || panel=out/sim/panel_${scenario%%_*}.cfg
  [ -f "$panel" ] || panel=out/sim/panel.cfg
fi
./build-release/vek-host --module build-release/gauges/vek1.gau --sim out/sim \
  --panel "$panel" --scenario "out/sim/scenarios/$scenario" --out out
cp out/sim/vek/FlightLog/*.log out/ 2>/dev/null || true
echo "demo output in $(pwd)/out"
