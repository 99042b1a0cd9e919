# Shared by the scripts that drive the game under X: sourced, with $pid the game's
# process and $salida the file its output goes to.

# Ends the run as failed, with the game's output.
falla() {
  echo "FAIL: $*"
  [[ -n "${pid:-}" ]] && kill -KILL "$pid" 2>/dev/null
  echo "--- program output ---"
  cat "$salida"
  exit 1
}

# The window whose title matches, once it shows; empty after 90 s or once the program ended.
esperar_ventana() {
  for _ in $(seq 180); do
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 | grep . && return
    kill -0 "$pid" 2>/dev/null || return
    sleep 0.5
  done
}

# Leaves the game window $1 through its close button ($ventana_x asks the window), answers
# Yes to the question a game in progress asks, and waits for the window to go.
dejar_juego() {
  "$ventana_x" cerrar "$1" || falla "could not ask the game window to close"
  local pregunta
  pregunta=$(esperar_ventana '^ZARP - Confirmaci')
  [[ -n "$pregunta" ]] || falla "leaving the game asked nothing (no move was made?)"
  xdotool windowfocus --sync "$pregunta" key Return
  for _ in $(seq 60); do
    xdotool search --onlyvisible --name '^ZARP - ' >/dev/null 2>&1 || return 0
    sleep 0.5
  done
  falla "the game window stayed open"
}

# Closes the main window $1 and waits for the program to end with status 0.
cerrar_programa() {
  "$ventana_x" cerrar "$1" || falla "could not ask the main window to close"
  for _ in $(seq 120); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
  done
  kill -0 "$pid" 2>/dev/null && falla "the program did not end after its main window closed"
  local estado=0
  wait "$pid" || estado=$?
  pid=
  [[ $estado -eq 0 ]] || falla "the program ended with status $estado"
}
