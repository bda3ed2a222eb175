#!/usr/bin/env bash
# "--help" and "--version" as the only argument: usage or version on standard
# output, status 0, and nothing read or created (run in an empty directory, so
# that a program that went on would create params.dat or lines.tmp there).
#   info_arguments_test.sh PROGRAM_PATH NAME VERSION
set -u
program=$1 name=$2 version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

out=$(env -u MOD_DIR -u VELKO "$program" --help 2>err.txt </dev/null); status=$?
[[ $status == 0 ]] || fail "$name --help exited $status"
[[ $out == "Usage: $name "* ]] || fail "$name --help does not start with the usage: ${out:0:60}"
grep -q "See $name(1)." <<<"$out" || fail "$name --help does not end with the man page"
[[ ! -s err.txt ]] || fail "$name --help wrote to standard error: $(cat err.txt)"
rm -f err.txt

out=$("$program" --version </dev/null); status=$?
[[ $status == 0 ]] || fail "$name --version exited $status"
[[ $out == "$name $version" ]] || fail "$name --version printed '$out', wanted '$name $version'"

leftover=$(ls -A)
[[ -z $leftover ]] || fail "$name created files: $leftover"

# Any other command line is the program's own: with a second argument the
# word "--help" is an ordinary argument and the run does not end with the usage.
out=$("$program" --help x </dev/null 2>/dev/null)
[[ $out != "Usage: "* ]] || fail "$name --help x printed the usage"

exit $((failures > 0))
