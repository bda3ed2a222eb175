#!/usr/bin/env bash
# The manual page of wavepick-batch renders without warnings, and every option
# of its --help is described there and in examples/batch/README.md.
#   docs_test.sh BATCH_SCRIPT MAN_PAGE EXAMPLES_DIR
set -u
batch=$1 page=$2 examples=$3
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
warnings=$(mktemp)
trap 'rm -f "$warnings"' EXIT

text=$(LC_ALL=C.UTF-8 MANWIDTH=80 MAN_KEEP_FORMATTING= man --warnings -l "$page" 2>"$warnings") ||
  fail "man -l $page failed"
[[ ! -s $warnings ]] || fail "man -l $page warns: $(cat "$warnings")"
for section in NAME SYNOPSIS DESCRIPTION OPTIONS ENVIRONMENT FILES "EXIT STATUS" EXAMPLES; do
  grep -q "^$section" <<<"$text" || fail "the page has no section $section"
done
options=$("$batch" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
[[ -n $options ]] || fail "--help lists no option"
for option in $options; do
  grep -qF -- "$option" <<<"$text" || fail "the manual page does not describe $option"
  grep -qF -- "\`$option" "$examples/batch/README.md" || fail "examples/batch/README.md does not describe $option"
done
exit $((failures > 0))
