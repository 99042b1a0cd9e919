#!/usr/bin/env bash
# The Debian package as a player gets it, on a Debian 12 machine, as root (it installs and
# then removes the package with apt): after make paquete,
#   packaging/probar_paquete.sh build-paquete/cartoval_*.deb   (or: make probar-paquete)
# It installs the package, lists what it installed and validates the menu entry and the
# metadata where they were installed; then starts the installed game under an Xvfb of its
# own with a scratch home, starts the first game, plays with the mouse, leaves the game
# (kept) and closes the program; lists the files the game left in its data folder and
# checks that it wrote nothing beside the executable; and removes the package again.
set -euo pipefail

deb=$(realpath "$1")
fuente=$(cd "$(dirname "$0")/.." && pwd)
if [[ "${2:-}" != --dentro ]]; then
  for programa in apt-get xvfb-run xdotool desktop-file-validate appstreamcli g++; do
    command -v "$programa" >/dev/null || { echo "FAIL: $programa is missing"; exit 1; }
  done
  dpkg-query -W -f='${Status}' cartoval 2>/dev/null | grep -q 'install ok installed' &&
    { echo "FAIL: cartoval is already installed; remove it first"; exit 1; }
  export DEBIAN_FRONTEND=noninteractive
  echo "== apt install $deb"
  apt-get install -y -qq "$deb" >/dev/null
  trap 'echo "== apt remove cartoval"; apt-get remove -y -qq cartoval >/dev/null;
        dpkg-query -W cartoval 2>/dev/null | grep . || echo "removed"' EXIT
  echo "== dpkg -L cartoval"
  dpkg -L cartoval
  echo "== desktop-file-validate"
  desktop-file-validate /usr/share/applications/org.cartoval.Cartoval.desktop && echo ok
  echo "== appstreamcli validate"
  appstreamcli validate --no-net /usr/share/metainfo/org.cartoval.Cartoval.metainfo.xml
  xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$1" --dentro
  exit
fi

casa=$(mktemp -d)
trap 'rm -rf "$casa"' EXIT
g++ -O1 -o "$casa/ventana_x" "$fuente/tests/escritorio/VentanaX.cpp" -lxcb
ventana_x=$casa/ventana_x
export HOME=$casa XDG_DATA_HOME=$casa/datos XDG_CONFIG_HOME=$casa/config \
  XDG_RUNTIME_DIR=$casa/run QT_QPA_PLATFORM=xcb
mkdir -m 700 "$XDG_RUNTIME_DIR"
antes=$(ls -A /usr/bin | sort)
cd "$casa"
/usr/bin/cartoval >"$casa/salida.txt" 2>&1 &
pid=$!

salida=$casa/salida.txt
source "$fuente/tests/escritorio/ventanas_x.sh"

echo "== the installed game, HOME=$casa"
principal=$(esperar_ventana '^Cartoval v')
[[ -n "$principal" ]] || falla "the main window never showed"
xdotool windowfocus --sync "$principal" key Return
juego=$(esperar_ventana '^ZARP - ')
[[ -n "$juego" ]] || falla "the game window never showed"
echo "game window: $(xdotool getwindowname "$juego")"
xdotool windowfocus --sync "$juego"
sleep 1
for fila in 120 200 280 360 440 520 600; do
  for columna in $(seq 40 90 1240); do
    xdotool mousemove "$columna" "$fila" click 3 click 1
  done
done
sleep 1
dejar_juego "$juego"
cerrar_programa "$principal"
echo "program ended with status 0"

echo "== files under \$XDG_DATA_HOME/cartoval"
(cd "$XDG_DATA_HOME/cartoval" && find . -mindepth 1 -printf '%p %s bytes\n' | sort)
[[ $(stat -c %s "$XDG_DATA_HOME/cartoval/ZARP.bin" 2>/dev/null) == 256 ]] ||
  falla "no settings file in the data folder"
[[ -s "$XDG_DATA_HOME/cartoval/Partidas.json" ]] || falla "the game in progress was not kept"
[[ -s "$XDG_DATA_HOME/cartoval/Estadisticas.json" ]] || falla "no statistics were written"
[[ "$(ls -A /usr/bin | sort)" == "$antes" ]] || falla "the game wrote beside its executable"
echo "nothing new in /usr/bin"
echo "PASS: installed, started from /usr/bin, played, kept its files in the data folder"
