#!/usr/bin/env bash
# Both manual pages render with man -l without warnings, show their sections,
# and carry the project's version in their title line (a release that forgets
# to bump a page shows here; --version itself is checked by info_arguments_test).
#   man_pages_test.sh MAN_DIR VERSION
set -u
man_dir=$1 version=$2
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
for page in ironsift wavepick; do
  file=$man_dir/$page.1
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 MAN_KEEP_FORMATTING= man --warnings -l "$file" 2>warnings.$$)
  status=$?
  [[ $status == 0 ]] || fail "man -l $file exited $status"
  [[ ! -s warnings.$$ ]] || fail "man -l $file warns: $(cat warnings.$$)"
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS ENVIRONMENT FILES "EXIT STATUS" EXAMPLES; do
    grep -q "^$section" <<<"$text" || fail "$page.1 has no section $section"
  done
  grep -q -- "--version" <<<"$text" || fail "$page.1 does not mention --version"
  title=$(grep -m1 '^\.TH' "$file")
  [[ $title == *"\"velko_fe_tools $version\""* ]] ||
    fail "$page.1 title line does not carry version $version: $title"
  rm -f warnings.$$
done
exit $((failures > 0))
