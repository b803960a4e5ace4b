#!/usr/bin/env bash
# A study of 21 focus positions x 100,000 random astigmatism trials (2.1 million rows) as a
# Slurm job array of 100 shards: array task K computes rows floor((K-1)R/100)+1 to
# floor(KR/100) into parts/study-K.csv (K in five digits). See docs/cluster.md.
#SBATCH --job-name=orvinta-study
#SBATCH --array=1-100
#SBATCH --cpus-per-task=4
#SBATCH --mem=256M
#SBATCH --time=02:00:00
#SBATCH --output=logs/study-%a.log
set -euo pipefail

# Keep in step with --array above: the shards are 1 to SHARDS.
SHARDS=100
K=${SLURM_ARRAY_TASK_ID:?run this script with sbatch as a job array}
part=$(printf 'parts/study-%05d.csv' "$K")

orvinta --batch HasDefocus=1 HasZern5=1 \
  --sweep defocus=-1:1:21 --random Zern5=0.05 --trials 100000 --seed 1 \
  --shard "$K/$SHARDS" --jobs "${SLURM_CPUS_PER_TASK:-1}" --csv "$part"
