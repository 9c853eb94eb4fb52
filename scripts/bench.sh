#!/usr/bin/env bash
# Builds the benchmarks in Release, writes the two navigation databases (the tables' scale
# and the world's) when missing or older than their generator, runs every benchmark on each
# and prints one table: each figure beside its target, "miss" where it misses. Figures are
# medians of 5 repetitions of the wall time per iteration; the machine's load average is
# printed with the table. Then the flying benchmark (bench/flight_bench.cpp): every sample
# screen timed frame by frame through the host over a scripted flight on the world's
# database, median, p95, p99 and max of the whole frame and each map display per phase, and
# of every screen over the flight, beside the targets.
# FLIGHT_MINUTES adds minutes of flight after its script, for the memory plateau.
# VEK_VECTOR_BITS=256 keeps the blend to 256-bit vectors where the processor has wider ones
# (to time it as on a machine without them); the width run with is printed beside the load.
# Arguments: benchmark executables to run (default: every bench_* built). JOBS sets the
# build's parallel jobs (default: every core).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVEK_BENCH=ON -DVEK_TESTS=OFF >/dev/null
cmake --build build-bench -j"${JOBS:-$(nproc)}" >/dev/null
full=build-bench/db/full
world=build-bench/db/world
[ "$full/vek/navdata/apts.txt" -nt scripts/gen_navdb.py ] || python3 scripts/gen_navdb.py "$full"
[ "$world/vek/navdata/apts.txt" -nt scripts/gen_navdb.py ] || python3 scripts/gen_navdb.py --world "$world"
benches=("$@")
flight=1
[ ${#benches[@]} -gt 0 ] && flight=0 || benches=(build-bench/bench/bench_*)
results=build-bench/results
rm -rf "$results" && mkdir -p "$results"
vectors="$(build-bench/bench/flight_bench --vector-bits)-bit vectors"
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for db in full world; do
  for b in "${benches[@]}"; do
    VEK_NAVDB_BENCH_ROOT=build-bench/db/$db "$b" --benchmark_format=json --benchmark_repetitions=5 \
      --benchmark_min_time=0.1 --benchmark_report_aggregates_only=true \
      --benchmark_out="$results/$db-$(basename "$b").json" --benchmark_out_format=json >/dev/null
  done
done
echo "load average before: $load_before, after: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) cores, $vectors)"
python3 - "$results" <<'PY'
import glob, json, os, re, sys
# Targets in milliseconds by benchmark name and database: the displays, the panel and
# the nearby lists are held to theirs on the world's density, the load on both.
# Map display frames ("Frame") 4 ms, the displays that draw no map ("Draw") 1 ms.
targets = [
    (r"^BM_FullLoad", {"full": 100.0, "world": 50.0}),
    (r"^BM_Near", {"world": 1.0}),
    (r"Frame", {"world": 4.0}),
    (r"Draw(/|$)", {"world": 1.0}),
    (r"^BM_AllScreens", {"world": 16.0}),
]
RSS_TARGET_MB = 120
def target(name, db):
    for pattern, t in targets:
        if re.search(pattern, name):
            return t.get(db)
    return None
to_ms = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
print(f"{'database':8} {'benchmark':48} {'ms':>10} {'target':>8}")
misses = 0
for path in sorted(glob.glob(os.path.join(sys.argv[1], "*.json"))):
    db = os.path.basename(path).split("-")[0]
    for b in json.load(open(path))["benchmarks"]:
        if b.get("aggregate_name", "median") != "median":
            continue
        b["name"] = b.get("run_name", b["name"])
        ms = b["real_time"] * to_ms[b.get("time_unit", "ns")]
        t = target(b["name"], db)
        mark = "" if t is None else ("" if ms < t else "miss")
        misses += mark == "miss"
        extra = ""
        if "rss_MB" in b:
            rss_miss = b["rss_MB"] >= RSS_TARGET_MB
            misses += rss_miss
            extra = f" rss {b['rss_MB']:.0f} MB (target {RSS_TARGET_MB})" + (" miss" if rss_miss else "")
        print(f"{db:8} {b['name']:48} {ms:10.3f} {('' if t is None else f'{t:g}'):>8} {mark}{extra}")
print(f"{misses} figures miss their target")
PY
[ "$flight" = 0 ] || {
  echo
  echo "flying benchmark, load average before: $(cut -d' ' -f1-3 /proc/loadavg) ($vectors)"
  VEK_NAVDB_BENCH_ROOT=$world build-bench/bench/flight_bench --minutes "${FLIGHT_MINUTES:-0}"
  echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) cores, $vectors)"
}
