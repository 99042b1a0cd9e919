#!/usr/bin/env bash
# Runs one fuzz target for a set time over its seeds and its working corpus, and prints
# the executions it made. A crash leaves its input in the failures folder and fails.
#   correr.sh TARGET SECONDS SEEDS CORPUS FAILURES
set -uo pipefail
objetivo=$1 segundos=$2 semillas=$3 corpus=$4 fallos=$5
nombre=$(basename "$objetivo")
mkdir -p "$corpus" "$fallos"
registro=$(mktemp)
trap 'rm -f "$registro"' EXIT
"$objetivo" -max_total_time="$segundos" -timeout=25 -rss_limit_mb=2560 \
  -print_final_stats=1 -artifact_prefix="$fallos/$nombre-" "$corpus" "$semillas" >"$registro" 2>&1
rc=$?
ejecuciones=$(sed -n 's/^stat::number_of_executed_units: *//p' "$registro" | tail -1)
if [[ $rc -ne 0 ]]; then
  tail -n 60 "$registro"
  echo "$nombre: FALLA tras ${ejecuciones:-?} ejecuciones (salida $rc); la entrada queda en $fallos"
  exit 1
fi
echo "$nombre: ${ejecuciones:-?} ejecuciones en $segundos s, corpus $(ls "$corpus" | wc -l) entradas"
