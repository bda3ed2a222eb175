#!/bin/bash
# A job table on a Slurm cluster: one array task per data row. Copy this file,
# set the paths below for your cluster (or export them before sbatch), and
# submit it with one task per data row of the table:
#
#   sbatch --array=1-$(wavepick-batch --count jobs.csv)%100 slurm-array.sh jobs.csv
#
# (%100: at most 100 tasks at once). Task N runs the Nth data row of the table
# (blank and comment lines not counted) with "wavepick-batch --task N": in its
# own run directory RUNS/STAR/RESULT/, the result and its console output to
# RESULTS/STAR/. A row that fails ends its task with status 1, so Slurm lists
# the task as FAILED (sacct -j JOBID) and its message is in slurm-JOBID_N.out.
# After the array,
#
#   wavepick-batch --status --runs RUNS --results RESULTS jobs.csv
#
# lists the rows that failed or did not run; submitting the same array again
# runs only those (a row whose result is up to date ends at once). Every node
# must see the same paths (a shared file system).
#SBATCH --job-name=wavepick
#SBATCH --ntasks=1
#SBATCH --cpus-per-task=1
#SBATCH --mem=200M
#SBATCH --time=00:10:00
#SBATCH --output=slurm-%A_%a.out
set -euo pipefail

batch=${WAVEPICK_BATCH:-/opt/velko/scripts/wavepick-batch}   # scripts/wavepick-batch of this repository
export VELKO=${VELKO:-/shared/velko}                         # the suite: line list in $VELKO/kbgfdos
export PATH=$VELKO/exefiles:${WAVEPICK_DIR:-/opt/velko/bin}:$PATH  # where width and wavepick are
runs=${RUNS:-/shared/survey/runs}
results=${RESULTS:-/shared/survey/results}

table=${1:?usage: sbatch --array=1-N slurm-array.sh TABLE}
exec "$batch" --task "${SLURM_ARRAY_TASK_ID:?not started as a Slurm array task}" \
  --runs "$runs" --results "$results" "$table"
