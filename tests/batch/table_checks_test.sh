#!/usr/bin/env bash
# The job table: what a spreadsheet writes is read (CSV, TSV, ";", CRLF, a
# byte order mark, quoted fields, columns in any order), and every fault is
# reported with its row and stops the batch before anything runs.
#   table_checks_test.sh BATCH_SCRIPT WAVEPICK SUITE_BUILD_DIR EXAMPLES_DIR
set -u
source "$(dirname "$0")/batch_env.sh" "$@"
header=star,model,xi,abund,w1,w2,code,ewmin,result
row=HD123,t05750g444x+020m0,1.2,7.50,5000,5050,26.00,10.0,fe1.sel

# Tables that are read: the text, the number of data rows.
accepted=(
  "$header\n$row\n" 1
  "$(tr , '\t' <<<"$header")\r\n$(tr , '\t' <<<"$row")\r\n" 1
  '\357\273\277'"$header\r\n$row\r\n" 1
  "$(tr , ';' <<<"$header")\n$(tr , ';' <<<"$row")\n" 1
  "# survey, first night\n\n$header\n$row\n# HD123 Fe II follows\n\nHD123,t05750g444x+020m0,1.2,7.50,5000,5050,26.01,10.0,fe2.sel\n" 2
  'Result,EWMIN,Code,W2,W1,Abund,XI,Model,Star\n"fe1.sel", 10.0 ,26.00,5050,5000,7.50,1.2,"t05750g444x+020m0",HD123' 1
)
for ((i = 0; i < ${#accepted[@]}; i += 2)); do
  printf "${accepted[i]}" >table.csv
  out=$("$batch" --count table.csv 2>&1)
  [[ $out == "${accepted[i + 1]}" ]] || fail "table $((i / 2 + 1)) ($(od -c table.csv | head -n 2 | tr -s ' ')): --count said '$out', expected ${accepted[i + 1]}"
done
# The columns are taken by their names, wherever they stand.
"$batch" -o reordered --task 1 table.csv >/dev/null 2>&1 || fail "the table with reordered columns did not run"
single_run HD123 t05750g444x+020m0 1.2 7.50 5000 5050 26.00 10.0 fe1.sel
cmp -s single/HD123-fe1.sel/fe1.sel reordered/HD123/fe1.sel || fail "the table with reordered columns ran another row"
rm -rf runs reordered

# Faulty tables: the text, the message expected on standard error.
rejected=(
  "star,model\n$row\n"
  'table.csv: row 1: the header has 2 columns separated by ","; it must name the 9 columns star,model,xi,abund,w1,w2,code,ewmin,result'
  "star,model,xi,abund,w1,w2,species,ewmin,result\n$row\n"
  'table.csv: row 1: unknown column "species" in the header; the columns are star,model,xi,abund,w1,w2,code,ewmin,result'
  "star,model,xi,abund,w1,w2,code,star,result\n$row\n"
  'table.csv: row 1: column "star" appears twice in the header'
  "$header\n$row\nSUN,t05777g444x+000m0,1.0,7.45,5000,5050,26.00,10.0\n"
  'table.csv: row 3: 8 columns separated by ",", the header has 9'
  "$header\nHD123,t05750g444x+020m0,1.2,7.50,5000A,5050,26.00,10.0,fe1.sel\n"
  'table.csv: row 2: column w1 is "5000A", not a number'
  "star;model;xi;abund;w1;w2;code;ewmin;result\nHD123;t05750g444x+020m0;1,2;7.50;5000;5050;26.00;10.0;fe1.sel\n"
  'table.csv: row 2: column xi is "1,2": write the number with a decimal point'
  "$header\nHD123,,1.2,7.50,5000,5050,26.00,10.0,fe1.sel\n"
  'table.csv: row 2: column model is empty'
  "$header\n../HD123,t05750g444x+020m0,1.2,7.50,5000,5050,26.00,10.0,fe1.sel\n"
  'table.csv: row 2: column star is "../HD123": use letters, digits, ".", "_", "+" and "-" (no blanks, no "/", not starting with "-" or ".", at most 60 characters)'
  "$header\nHD123,t05750g444x+020m0,1.2,7.50,5000,5050,26.00,10.0,--help\n"
  'table.csv: row 2: column result is "--help": use letters, digits, ".", "_", "+" and "-" (no blanks, no "/", not starting with "-" or ".", at most 60 characters)'
  "$header\nHD123,t05750g444x+020m0,1.2,7.50,5050,5000,26.00,10.0,fe1.sel\n"
  'table.csv: row 2: w1 5050 is above w2 5000'
  "$header\n$row\n\n$row\n"
  'table.csv: row 4: star HD123 with result fe1.sel is already row 2: each row needs its own result'
  "\n# nothing\n"
  'table.csv: no header: the first row must name the columns star,model,xi,abund,w1,w2,code,ewmin,result'
  "$header\n"
  'table.csv: no data rows below the header'
)
for ((i = 0; i < ${#rejected[@]}; i += 2)); do
  printf "${rejected[i]}" >table.csv
  "$batch" table.csv >out.txt 2>err.txt
  status=$?
  [[ $status == 2 ]] || fail "faulty table $((i / 2 + 1)): status $status, not 2"
  grep -qxF -- "${rejected[i + 1]}" err.txt || fail "faulty table $((i / 2 + 1)): expected '${rejected[i + 1]}', got '$(cat err.txt)'"
  [[ ! -e runs && ! -e results ]] || fail "faulty table $((i / 2 + 1)): something was run"
done
# Every fault of a table is reported at once, not only the first.
printf "$header\nA,m,x,7.5,5000,5050,26.00,10.0,a.sel\nB,m,1.0,7.5,5000,5050,26.00,ten,b.sel\n" >table.csv
"$batch" --check table.csv 2>err.txt
grep -q '^table.csv: row 2: column xi' err.txt && grep -q '^table.csv: row 3: column ewmin' err.txt &&
  grep -qx 'table.csv: 2 errors; nothing was run' err.txt || fail "not every fault reported: $(cat err.txt)"

# Wrong options and environment: status 2, nothing run.
printf "$header\n$row\n" >table.csv
while IFS='|' read -r options message; do
  # shellcheck disable=SC2086
  env $options table.csv >out.txt 2>err.txt
  status=$?
  [[ $status == 2 ]] || fail "'$options': status $status, not 2"
  grep -qF -- "$message" err.txt || fail "'$options': expected '$message', got '$(cat err.txt)'"
  [[ ! -e runs ]] || fail "'$options': something was run"
done <<CASES
$batch --jobs 0|--jobs must be a whole number above 0, not "0"
$batch --bogus|unknown option --bogus
-u VELKO $batch|VELKO is not set
VELKO=$work/nowhere $batch|the line list directory $work/nowhere/kbgfdos does not exist
$batch --wavepick $work/nowhere/wavepick|the wavepick program $work/nowhere/wavepick cannot be run
$batch --models $work/nowhere|the models directory $work/nowhere does not exist
$batch --task 2|--task 2: table.csv has only 1 data rows
CASES
"$batch" --results >out.txt 2>&1
status=$?
[[ $status == 2 ]] && grep -qx 'wavepick-batch: --results needs a value (see --help)' out.txt ||
  fail "an option without its value: status $status, '$(cat out.txt)'"

# The example table of the documentation is well formed.
out=$("$batch" --check "$examples/batch/jobs.csv" 2>&1) || fail "examples/batch/jobs.csv: $out"
finish
