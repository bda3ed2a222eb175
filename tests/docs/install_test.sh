#!/usr/bin/env bash
# cmake --install --strip puts both programs (stripped) and both manual pages under the prefix,
# and the stand-ins of the suite's programs only when they were asked for.
#   install_test.sh BUILD_DIR SUITE_WANTED(ON|OFF) VERSION
set -u
build=$1 suite_wanted=$2 version=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" --strip >/dev/null || fail "cmake --install --strip failed"
for f in bin/ironsift bin/wavepick bin/wavepick-batch share/man/man1/ironsift.1 share/man/man1/wavepick.1 \
         share/man/man1/wavepick-batch.1; do
  [[ -f $prefix/$f ]] || fail "$f not installed"
done
for p in ironsift wavepick; do
  # Installed stripped: no symbol table left in the program.
  if command -v nm >/dev/null; then
    [[ $(nm "$prefix/bin/$p" 2>&1) == *"no symbols"* ]] || fail "installed $p is not stripped"
  fi
  out=$("$prefix/bin/$p" --version 2>&1) || fail "installed $p --version failed"
  [[ $out == "$p $version" ]] || fail "installed $p --version printed '$out'"
done
standins=$(find "$prefix" -name tolmar -o -name vessik -o -name quorra -o -name width | wc -l)
if [[ $suite_wanted == ON ]]; then
  [[ $standins == 4 ]] || fail "VELKO_INSTALL_SUITE=ON installed $standins of the 4 stand-ins"
else
  [[ $standins == 0 ]] || fail "stand-ins installed without VELKO_INSTALL_SUITE"
fi
exit $((failures > 0))
