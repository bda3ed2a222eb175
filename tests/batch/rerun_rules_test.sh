#!/usr/bin/env bash
# Which rows a rerun runs again: a row is skipped only when its result is
# complete and newer than its inputs (the gf files, a model taken from
# --models, the row itself). Also: rows whose wavepick reports a problem but
# ends with status 0 count as failed.
#   rerun_rules_test.sh BATCH_SCRIPT WAVEPICK SUITE_BUILD_DIR EXAMPLES_DIR
set -u
source "$(dirname "$0")/batch_env.sh" "$@"
command -v parallel >/dev/null || { echo "FAIL: GNU parallel is not installed (scripts/install-deps installs it)" >&2; exit 1; }

write_table() {  # EWMIN of row 3
  cat >jobs.csv <<TABLE
star,model,xi,abund,w1,w2,code,ewmin,result
HD123,t05750g444x+020m0,1.2,7.50,5000,5050,26.00,$1,fe1.sel
SUN,sun.mod,1.0,7.45,5000,5050,26.00,10.0,fe1.sel
SUN,t05777g444x+000m0,1.0,7.45,5000,5050,26.01,10.0,fe2.sel
TABLE
}
# A model that no grid name describes: only --models provides it.
mkdir models
(mkdir make-model && cd make-model && wavepick 5000 5000 26.00 t05777g444x+000m0 1 7 1 x.sel >/dev/null &&
  cp t05777g444x+000m0 ../models/sun.mod) || fail "could not make the model for --models"
write_table 10.0

# Runs the table and compares the rows it ran (their "row N:" report lines)
# with the expected list.
expect_rows() {  # DESCRIPTION EXPECTED-ROWS [OPTIONS...]
  local description=$1 expected=$2
  shift 2
  "$batch" -j 2 -m models "$@" jobs.csv >run.out 2>run.err
  local status=$? ran
  ran=$(sed -n 's/^row \([0-9]*\): .*lines selected.*/\1/p' run.out | tr '\n' ' ' | sed 's/ $//')
  [[ $status == 0 ]] || fail "$description: status $status: $(cat run.err run.out)"
  [[ $ran == "$expected" ]] || fail "$description: ran rows '$ran', expected '$expected'"
}

expect_rows "first run" "2 3 4"
expect_rows "rerun" ""
touch models/sun.mod
expect_rows "the model from --models changed" "3"
touch "$VELKO/kbgfdos/GF0500.10"
expect_rows "a gf file changed" "2 3 4"
write_table 20.0
"$batch" --status -m models jobs.csv >status.out 2>&1
[[ $(<status.out) == "row 2: HD123 fe1.sel: out of date
wavepick-batch: 3 rows: 2 up to date, 0 failed, 1 out of date, 0 not run" ]] || fail "--status after the EWMIN change: $(cat status.out)"
expect_rows "row 2's EWMIN changed" "2"
rm results/SUN/fe2.sel
expect_rows "a result removed" "4"
echo >>results/SUN/fe1.sel
expect_rows "a result changed" "3"
rm runs/HD123/fe1.sel/batch-run.done
"$batch" --status -m models jobs.csv >status.out 2>&1
grep -qx 'row 2: HD123 fe1.sel: not run' status.out || fail "--status without the stamp: $(cat status.out)"
expect_rows "a run without its stamp (interrupted)" "2"
expect_rows "--force" "2 3 4" --force
expect_rows "results elsewhere" "2 3 4" -o elsewhere

# The model of row 3 came from --models: copied into its run, and equal to it.
cmp -s models/sun.mod runs/SUN/fe1.sel/sun.mod || fail "the model from --models is not the one in the run"
single_run HD123 t05750g444x+020m0 1.2 7.50 5000 5050 26.00 20.0 fe1.sel
cmp -s single/HD123-fe1.sel/fe1.sel results/HD123/fe1.sel || fail "the rerun with EWMIN 20.0 differs from a single run"

# "width" missing: wavepick ends with status 1 and says why; the row is
# reported as failed with that cause and its old result is not replaced.
cp results/HD123/fe1.sel kept.sel
mv "$VELKO/exefiles/width" width.away
"$batch" -f jobs.csv >run.out 2>run.err
status=$?
mv width.away "$VELKO/exefiles/width"
[[ $status == 1 ]] || fail "rows without \"width\" ended with status $status, not 1"
grep -q '^wavepick-batch: row 2 (star HD123, fe1.sel): FAILED, wavepick status 1: wavepick: could not start "width"' run.err ||
  fail "the missing \"width\" is not reported for row 2: $(cat run.err)"
grep -qx 'wavepick-batch: 3 rows: 3 selected to run, 0 done, 3 failed' run.out || fail "summary without \"width\": $(tail -n 1 run.out)"
cmp -s kept.sel results/HD123/fe1.sel || fail "a failed row replaced the old result"
expect_rows "after the failed rows" "2 3 4"

# Without --models row 3 has no model: wavepick would run "width" on none.
"$batch" jobs.csv >run.out 2>run.err
status=$?
[[ $status == 1 ]] || fail "the row without its model ended with status $status, not 1"
grep -qx "wavepick-batch: row 3 (star SUN, fe1.sel): FAILED: no model sun.mod: it is not in the models directory (--models) and wavepick did not make it (console output: $work/runs/SUN/fe1.sel/fe1.sel.log)" run.err ||
  fail "the missing model is not reported: $(cat run.err)"

# A batch killed in the middle (its whole process group, as Ctrl-C or a
# scheduler does): every result already in place is complete, and the rerun
# runs what is missing. "width" is made slow so that the kill finds runs going.
mkdir slow
printf '#!/bin/sh\nsleep 0.3\nexec %q "$@"\n' "$VELKO/exefiles/width" >slow/width
chmod +x slow/width
{
  echo star,model,xi,abund,w1,w2,code,ewmin,result
  for i in 1 2 3 4 5 6 7 8; do echo "HD123,t05750g444x+020m0,1.2,7.50,5000,5050,26.00,10.0,k$i.sel"; done
} >killed.csv
PATH=$work/slow:$PATH setsid "$batch" -j 2 -r killed-runs -o killed killed.csv >killed.out 2>&1 &
group=$!
for ((i = 0; i < 200; i++)); do [[ -f killed/HD123/k1.sel.log ]] && break; sleep 0.05; done
kill -TERM -- -"$group"
wait "$group" 2>/dev/null
# GNU parallel ends its runs (TERM, then KILL after a while) and then the lock.
flock -w 30 killed-runs/.batch.lock true || fail "the killed batch still holds its run folder after 30 s"
single_run HD123 t05750g444x+020m0 1.2 7.50 5000 5050 26.00 10.0 k.sel
done_before=0
for i in 1 2 3 4 5 6 7 8; do
  if [[ -f killed/HD123/k$i.sel ]]; then
    cmp -s single/HD123-k.sel/k.sel "killed/HD123/k$i.sel" || fail "k$i.sel, in place after the kill, is not complete"
  fi
  grep -qx 'status 0' "killed-runs/HD123/k$i.sel/batch-run.done" 2>/dev/null && done_before=$((done_before + 1))
done
((done_before < 8)) || fail "the kill came after the last row; the check shows nothing"
"$batch" -j 2 -r killed-runs -o killed killed.csv >rerun.out 2>&1 || fail "the rerun after the kill failed: $(cat rerun.out)"
expected="wavepick-batch: 8 rows: $((8 - done_before)) selected to run, $((8 - done_before)) done, 0 failed"
((done_before == 0)) || expected+=", $done_before up to date"
grep -qxF "$expected" rerun.out ||
  fail "the rerun after the kill ($done_before rows were done): $(tail -n 1 rerun.out)"
for i in 1 2 3 4 5 6 7 8; do
  cmp -s single/HD123-k.sel/k.sel "killed/HD123/k$i.sel" || fail "k$i.sel after the rerun differs from a single run"
done
finish
