#!/usr/bin/env bash
# The made-up sample data is reproducible: the generator writes the committed
# files byte for byte.
#   examples_reproducible_test.sh PYTHON EXAMPLES_DIR
set -u
python=$1 examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
PYTHONDONTWRITEBYTECODE=1 "$python" "$examples/make_examples.py" "$work" || exit 1
failures=0
for f in params.dat HD123.wdt HD123.abd SUN.abd; do
  cmp "$examples/$f" "$work/$f" || { echo "FAIL: $f differs from what make_examples.py writes" >&2; failures=1; }
done
# The line table holds exactly 330 lines, 302 Fe I and 28 Fe II.
[[ $(sed -n 5p "$examples/params.dat") == 330 ]] || { echo "FAIL: count record" >&2; failures=1; }
[[ $(tail -n +6 "$examples/params.dat" | awk '$2 == "26.00"' | wc -l) == 302 ]] || { echo "FAIL: Fe I" >&2; failures=1; }
[[ $(tail -n +6 "$examples/params.dat" | awk '$2 == "26.01"' | wc -l) == 28 ]] || { echo "FAIL: Fe II" >&2; failures=1; }
exit $failures
