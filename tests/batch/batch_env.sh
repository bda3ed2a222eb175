# Shared by the batch tests: a work directory with a VELKO tree made of the
# sample gf files and the stand-ins of the suite's programs, PATH set as a
# user of the suite sets it, and the checking helpers.
#   source batch_env.sh BATCH_SCRIPT WAVEPICK SUITE_BUILD_DIR EXAMPLES_DIR
batch=$1 wavepick=$2 suite=$3 examples=$4
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
finish() { ((failures == 0)) && echo "all checks passed"; exit $((failures > 0)); }

cp -r "$examples/velko" "$work/velko"
mkdir -p "$work/velko/exefiles" "$work/bin"
cp "$suite"/{tolmar,vessik,quorra,width} "$work/velko/exefiles/"
ln -s "$wavepick" "$work/bin/wavepick"
export VELKO=$work/velko
export PATH=$work/velko/exefiles:$work/bin:$PATH
cd "$work" || exit 1

# The row's wavepick run done by hand in a fresh directory of its own,
# single/STAR-RESULT: leaves RESULT there and its console output RESULT.log.
single_run() {  # STAR MODEL XI ABUND W1 W2 CODE EWMIN RESULT
  local dir=$work/single/$1-$9
  mkdir -p "$dir"
  (cd "$dir" && wavepick "$5" "$6" "$7" "$2" "$3" "$4" "$8" "$9" >"$9.log" 2>&1)
}

# Path, modification time and inode of every file below the given folders.
snapshot() { find "$@" -type f -printf '%p %T@ %i\n' | sort; }
