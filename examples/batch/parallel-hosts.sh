#!/bin/bash
# A job table on several machines at once, through GNU parallel over ssh.
# Copy this file and nodes.txt, list your machines in nodes.txt, set the paths
# below (or export them), then run
#
#   parallel-hosts.sh jobs.csv
#
# Each machine needs: ssh from here without a password (keys or ssh-agent;
# try "ssh HOST true" first), the same paths as here (a shared file system
# holding this repository, VELKO, the run folder and the results), and
# wavepick and width at the paths on PATH, and perl (GNU parallel starts each
# remote run through it). GNU parallel is needed only here;
# VELKO and PATH are passed on to every run. Rows are given out as machines
# become free; a row that fails is reported with its star, row and status and
# the others go on; running the same command again runs only the rows that
# failed or are out of date.
set -euo pipefail

batch=${WAVEPICK_BATCH:-/opt/velko/scripts/wavepick-batch}   # scripts/wavepick-batch of this repository
export VELKO=${VELKO:-/shared/velko}                         # the suite: line list in $VELKO/kbgfdos
export PATH=$VELKO/exefiles:${WAVEPICK_DIR:-/opt/velko/bin}:$PATH  # where width and wavepick are
runs=${RUNS:-/shared/survey/runs}
results=${RESULTS:-/shared/survey/results}
nodes=${NODES:-$(dirname "$0")/nodes.txt}

table=${1:?usage: parallel-hosts.sh TABLE}
exec "$batch" --sshloginfile "$nodes" --runs "$runs" --results "$results" "$table"
