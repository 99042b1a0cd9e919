#!/usr/bin/env bash
# The real game on a real X server (Xvfb, started here): it starts, a game is played with
# the mouse through xdotool, the game and the program are closed as from a close box, and
# the process must end with status 0 and no report from the sanitizers it was built with.
#   jugar_bajo_x.sh CARTOVAL VENTANA_X ASAN_SUPRESIONES LSAN_SUPRESIONES
# Exit 77 (skipped) where there is no Xvfb or no xdotool.
set -uo pipefail

if [[ "${1:-}" != --dentro ]]; then
  for programa in xvfb-run xdotool; do
    if ! command -v "$programa" >/dev/null; then
      echo "SKIP: $programa is not installed (scripts/dependencias.sh installs it)"
      exit 77
    fi
  done
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" --dentro "$@"
fi
shift
cartoval=$1 ventana_x=$2 supresiones_asan=$3 supresiones_lsan=$4

# A program folder of its own, so that the settings and Records land in it.
carpeta=$(mktemp -d)
trap 'rm -rf "$carpeta"' EXIT
cp "$cartoval" "$carpeta/cartoval"
cp "$(dirname "$cartoval")/ZARP(Esp).hlp" "$carpeta/" 2>/dev/null || true
salida=$carpeta/salida.txt

source "$(dirname "${BASH_SOURCE[0]}")/ventanas_x.sh"

# Third-party code only; see the suppression files. Added to whatever the run sets, with
# leak detection on whatever it says.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=1:suppressions=$supresiones_asan"
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$supresiones_lsan"
export HOME=$carpeta XDG_DATA_HOME=$carpeta/datos XDG_CONFIG_HOME=$carpeta/config \
  XDG_RUNTIME_DIR=$carpeta/run QT_QPA_PLATFORM=xcb
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$carpeta/cartoval" >"$salida" 2>&1 &
pid=$!

principal=$(esperar_ventana '^Cartoval v')
[[ -n "$principal" ]] || falla "the main window never showed"
xdotool windowfocus --sync "$principal"
# The first game of the list is selected; Return starts it.
xdotool key Return
juego=$(esperar_ventana '^ZARP - ')
[[ -n "$juego" ]] || falla "the game window never showed"
xdotool windowfocus --sync "$juego"
eval "$(xdotool getwindowgeometry --shell "$juego")"
# The status bar at the bottom holds the stock count and the points: it changes with moves.
barra=("$juego" 0 $((HEIGHT - 24)) "$WIDTH" 24)
# The picture of the bar once it holds still: the window has been painted.
huella_quieta() {
  local una otra
  otra=$("$ventana_x" huella "${barra[@]}") || return
  for _ in $(seq 60); do
    sleep 0.5
    una=$otra
    otra=$("$ventana_x" huella "${barra[@]}") || return
    [[ "$una" == "$otra" ]] && break
  done
  echo "$otra"
}
xdotool mousemove 5 5
antes=$(huella_quieta)
[[ -n "$antes" ]] || falla "no picture of the game window"

# Right-clicks send cards home, left-clicks deal from a stock, drags move cards about.
for fila in 120 200 280 360 440 520 600; do
  for columna in $(seq 40 90 1240); do
    xdotool mousemove "$columna" "$fila" click 3 click 1
  done
done
for desde in "200 200" "400 250" "600 300" "800 350"; do
  set -- $desde
  xdotool mousemove "$1" "$2" mousedown 1 mousemove $(($1 + 40)) $(($2 + 40)) \
    mousemove $(($1 + 160)) $(($2 + 20)) mouseup 1
done
# The program may still be working through the clicks on a busy machine.
xdotool mousemove 5 5
for _ in $(seq 120); do
  despues=$("$ventana_x" huella "${barra[@]}") || falla "no picture of the game window"
  [[ "$antes" != "$despues" ]] && break
  sleep 0.5
done
[[ "$antes" != "$despues" ]] || falla "no move was made: the status bar never changed"

# Leaving a game in progress asks first; Yes is the default button.
dejar_juego "$juego"

# Closing the main window writes the settings file and ends the program.
cerrar_programa "$principal"
grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$salida" && falla "a sanitizer reported"
[[ $(stat -c %s "$carpeta/ZARP.bin" 2>/dev/null) == 256 ]] || falla "no settings file was written at the end"
echo "PASS: started, played, left the game and ended clean"
