#!/usr/bin/env bash
# The sample table (two stars, Fe I and Fe II, and row 4 that fails on purpose:
# its model's Teff is below the grid) run with two jobs at once: the failed row
# is reported and the others go on, every result and console log is byte for
# byte what a single wavepick run writes, and a rerun does nothing new.
#   sample_run_test.sh BATCH_SCRIPT WAVEPICK SUITE_BUILD_DIR EXAMPLES_DIR
set -u
source "$(dirname "$0")/batch_env.sh" "$@"
command -v parallel >/dev/null || { echo "FAIL: GNU parallel is not installed (scripts/install-deps installs it)" >&2; exit 1; }
table=$here/sample_jobs.csv
good_rows=(
  "HD123 t05750g444x+020m0 1.2 7.50 5000 5050 26.00 10.0 fe1.sel"
  "HD123 t05750g444x+020m0 1.2 7.50 5000 5050 26.01 10.0 fe2.sel"
  "SUN t05777g444x+000m0 1.0 7.45 5000 5050 26.00 10.0 fe1.sel"
  "SUN t05777g444x+000m0 1.0 7.45 4020 4031 26.01 0.5 fe2.sel"
)

"$batch" -j 2 -o out "$table" >first.out 2>first.err
status=$?
[[ $status == 1 ]] || fail "a table with a failing row ended with status $status, not 1"
grep -qx 'wavepick-batch: row 4 (star BAD, fe1.sel): FAILED, wavepick status 1: Sorry, specified model parameters unsupported! (console output: '"$work"'/runs/BAD/fe1.sel/fe1.sel.log)' first.err ||
  fail "the failed row is not reported with its row, star and status: $(cat first.err)"
(($(wc -l <first.err) == 1)) || fail "more than the failed row on standard error: $(cat first.err)"
grep -qx 'wavepick-batch: 5 rows: 5 selected to run, 4 done, 1 failed' first.out ||
  fail "summary of the first run: $(tail -n 1 first.out)"
[[ ! -e out/BAD ]] || fail "the failed row left something in the results: $(ls -R out/BAD)"
grep -q 'Sorry, specified model parameters unsupported!' runs/BAD/fe1.sel/fe1.sel.log ||
  fail "the failed row's console output is not kept in its run directory"

# Each good row against the same run done by hand: the result, the console log
# beside it, and the report line with the counts.
for row in "${good_rows[@]}"; do
  read -r star model xi abund w1 w2 code ewmin result <<<"$row"
  single_run $row
  cmp -s "single/$star-$result/$result" "out/$star/$result" ||
    fail "out/$star/$result differs from a single wavepick run"
  cmp -s "single/$star-$result/$result.log" "out/$star/$result.log" ||
    fail "out/$star/$result.log differs from a single run's console output"
  [[ -s out/$star/$result ]] || fail "out/$star/$result is empty: the sample selects no line"
  total=$(sed -n 's/^n_total *= *//p' "single/$star-$result/$result.log")
  selected=$(sed -n 's/^nselect *= *//p' "single/$star-$result/$result.log")
  grep -qx "row [0-9]: $star $code $w1-$w2: $selected of $total lines selected -> $star/$result" first.out ||
    fail "no report line for $star $result with $selected of $total lines"
done

# The state of the rows, as --status lists it (after a Slurm array, say).
"$batch" --status -o out "$table" >status.out 2>&1
status=$?
[[ $status == 1 ]] || fail "--status with a failed row ended with status $status, not 1"
[[ $(<status.out) == "row 4: BAD fe1.sel: failed, status 1 (console output: $work/runs/BAD/fe1.sel/fe1.sel.log)
wavepick-batch: 5 rows: 4 up to date, 1 failed, 0 out of date, 0 not run" ]] || fail "--status listed: $(cat status.out)"

# Two at once: the first two jobs of the job log started before either ended.
awk -F'\t' 'NR == 2 { s1 = $3; e1 = $3 + $4 } NR == 3 { s2 = $3; e2 = $3 + $4 }
            END { exit !(s2 < e1 && s1 < e2) }' runs/joblog.tsv ||
  fail "with -j 2 the first two runs did not overlap: $(cat runs/joblog.tsv)"

# The rerun: the four done rows are skipped untouched, the failed one is tried again.
before=$(snapshot runs/HD123 runs/SUN out)
"$batch" -j 2 -o out "$table" >second.out 2>second.err
status=$?
[[ $status == 1 ]] || fail "the rerun ended with status $status, not 1"
grep -qx 'wavepick-batch: 5 rows: 1 selected to run, 0 done, 1 failed, 4 up to date' second.out ||
  fail "summary of the rerun: $(tail -n 1 second.out)"
grep -q '^wavepick-batch: row 4 (star BAD' second.err || fail "the rerun does not report the failed row again"
[[ $(snapshot runs/HD123 runs/SUN out) == "$before" ]] || fail "the rerun touched the runs or results of the rows that were done"

# Without the failing row a rerun runs nothing at all and ends with status 0.
grep -v '^BAD,' "$table" >good.csv
"$batch" -o out good.csv >third.out 2>third.err
status=$?
[[ $status == 0 ]] || fail "the rerun of the good rows ended with status $status: $(cat third.err)"
grep -qx 'wavepick-batch: 4 rows: 0 selected to run, 0 done, 0 failed, 4 up to date' third.out ||
  fail "summary of the rerun of the good rows: $(tail -n 1 third.out)"
[[ ! -s third.err ]] || fail "the rerun of the good rows wrote to standard error: $(cat third.err)"
[[ $(snapshot runs/HD123 runs/SUN out) == "$before" ]] || fail "the rerun of the good rows touched them"

# The cluster examples, run here: the Slurm array script once per task, as
# Slurm would start it, and the GNU parallel script with this machine (":")
# as its only host. Both write what the run above wrote.
export WAVEPICK_BATCH=$batch WAVEPICK_DIR=$work/bin
for task in 1 2 3 4; do
  SLURM_ARRAY_TASK_ID=$task RUNS=slurm-runs RESULTS=slurm "$examples/batch/slurm-array.sh" good.csv >>slurm.out 2>&1 ||
    fail "slurm-array.sh task $task failed: $(cat slurm.out)"
done
SLURM_ARRAY_TASK_ID=3 RUNS=slurm-runs RESULTS=slurm "$examples/batch/slurm-array.sh" "$table" >slurm-bad.out 2>&1
status=$?
[[ $status == 1 ]] || fail "slurm-array.sh on the failing row ended with status $status, not 1"
grep -q '^wavepick-batch: row 4 (star BAD, fe1.sel): FAILED, wavepick status 1' slurm-bad.out ||
  fail "slurm-array.sh does not report the failing row: $(cat slurm-bad.out)"
echo : >nodes.txt
NODES=nodes.txt RUNS=hosts-runs RESULTS=hosts "$examples/batch/parallel-hosts.sh" good.csv >hosts.out 2>&1 ||
  fail "parallel-hosts.sh failed: $(cat hosts.out)"
for row in "${good_rows[@]}"; do
  read -r star _ _ _ _ _ _ _ result <<<"$row"
  for copy in slurm hosts; do
    cmp -s "out/$star/$result" "$copy/$star/$result" && cmp -s "out/$star/$result.log" "$copy/$star/$result.log" ||
      fail "the $copy example wrote another $star/$result than the run above"
  done
done

# A second batch on the same run folder while one is running is refused.
(exec 8>>runs/.batch.lock && flock 8 && exec sleep 30) &
holder=$!  # after the exec: the sleep that holds the lock
for ((i = 0; i < 100; i++)); do flock -n runs/.batch.lock true || break; sleep 0.05; done
"$batch" -f -o out good.csv >locked.out 2>&1
status=$?
kill "$holder"
wait "$holder" 2>/dev/null
[[ $status == 2 ]] || fail "a batch on a busy run folder ended with status $status, not 2"
grep -qx "wavepick-batch: another wavepick-batch is running with the run folder $work/runs" locked.out ||
  fail "a busy run folder is not reported: $(cat locked.out)"

# On a terminal (a pseudo-terminal made by script(1)) GNU parallel's bar shows
# the progress; above, with standard error in a file, it did not.
if command -v script >/dev/null; then
  script -qec "$(printf '%q ' "$batch" -j 2 -r bar-runs -o bar good.csv)" /dev/null >bar.out 2>&1
  grep -q '100% 4:0=' bar.out || fail "no progress bar on a terminal: $(tr '\r' '\n' <bar.out | tail -n 5)"
  grep -q 'wavepick-batch: 4 rows: 4 selected to run, 4 done, 0 failed' bar.out || fail "the run on a terminal did not end well"
else
  echo "skipped the terminal check: script(1) is not installed"
fi
finish
