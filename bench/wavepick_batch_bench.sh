#!/usr/bin/env bash
# wavepick-batch throughput: rows per minute on the sample data, with one and
# with two runs at once, next to a plain shell loop of the same wavepick runs
# one after the other (each in a directory of its own). Run by hand:
#
#   bench/wavepick_batch_bench.sh [BUILD_DIR [ROWS]]     (default build/release, 40)
#
# The table cycles through the sample's rows (HD123 and SUN, Fe I and Fe II,
# 5000-5050 Å and 4020-4031 Å), each with a result name of its own, so every
# row is a full run: line set, model made by the stand-ins, "width". Each
# variant starts from empty run and result folders. The load average is
# printed before and after, since the machine may be shared.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build/release}")
rows=${2:-40}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp -r "$root/examples/velko" "$work/velko"
mkdir -p "$work/velko/exefiles"
cp "$build"/suite/{tolmar,vessik,quorra,width} "$work/velko/exefiles/"
export VELKO=$work/velko
export PATH=$work/velko/exefiles:$build/wavepick:$PATH
cd "$work"

samples=(
  "HD123,t05750g444x+020m0,1.2,7.50,5000,5050,26.00,10.0"
  "HD123,t05750g444x+020m0,1.2,7.50,5000,5050,26.01,10.0"
  "SUN,t05777g444x+000m0,1.0,7.45,5000,5050,26.00,10.0"
  "SUN,t05777g444x+000m0,1.0,7.45,4020,4031,26.01,0.5"
)
{
  echo star,model,xi,abund,w1,w2,code,ewmin,result
  for ((i = 0; i < rows; i++)); do echo "${samples[i % ${#samples[@]}]},r$i.sel"; done
} >jobs.csv

now() { date +%s.%N; }
report() {  # NAME START END
  awk -v name="$1" -v s="$2" -v e="$3" -v n="$rows" \
    'BEGIN { printf "%-22s %4d rows in %7.2f s: %6.1f rows per minute\n", name, n, e - s, n * 60 / (e - s) }'
}

echo "machine: $(nproc) cores; load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for jobs in 1 2; do
  start=$(now)
  "$root/scripts/wavepick-batch" -j "$jobs" -r "runs$jobs" -o "results$jobs" jobs.csv >/dev/null
  report "wavepick-batch -j $jobs" "$start" "$(now)"
done
start=$(now)
tail -n +2 jobs.csv | while IFS=, read -r star model xi abund w1 w2 code ewmin result; do
  mkdir -p "loop/$star/$result"
  (cd "loop/$star/$result" && wavepick "$w1" "$w2" "$code" "$model" "$xi" "$abund" "$ewmin" "$result" >"$result.log" 2>&1)
done
report "shell loop, one by one" "$start" "$(now)"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
