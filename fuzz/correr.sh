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
# Pictures come as large as players' files, and a decode far slower than the usual tens of
# milliseconds (a few hundred sanitized at full size) is a failure; the other inputs are
# small and quick.
case "$nombre" in
  fuzz_imagenes) opciones=(-max_len=1048576 -timeout=10) ;;
  *) opciones=(-timeout=25) ;;
esac
"$objetivo" -max_total_time="$segundos" "${opciones[@]}" -rss_limit_mb=2560 \
  -print_final_stats=1 -artifact_prefix="$fallos/$nombre-" "$corpus" "$semillas" >"$registro" 2>&1
rc=$?
ejecuciones=$(sed -n 's/^stat::number_of_executed_units: *//p' "$registro" | tail -1)
if [[ $rc -ne 0 ]]; then
  tail -n 60 "$registro"
  echo "$nombre: FALLA tras ${ejecuciones:-?} ejecuciones (salida $rc); la entrada queda en $fallos"
  exit 1
fi
echo "$nombre: ${ejecuciones:-?} ejecuciones en $segundos s, corpus $(ls "$corpus" | wc -l) entradas"
