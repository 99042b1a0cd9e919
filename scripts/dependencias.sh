#!/usr/bin/env bash
# Installs, only when missing, the Debian packages that the build, the tests and the
# benchmarks need. Quick when everything is present: it only asks dpkg.
set -euo pipefail

paquetes=(
  g++ make cmake ninja-build pkg-config
  qt6-base-dev libgl-dev qt6-translations-l10n
  libjpeg62-turbo-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev llvm-14
  xvfb xauth xdotool libxcb1-dev
  fonts-dejavu-core
  desktop-file-utils appstream dpkg-dev
)

faltan=()
for p in "${paquetes[@]}"; do
  estado=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$estado" == "install ok installed" ]] || faltan+=("$p")
done
[[ ${#faltan[@]} -eq 0 ]] && exit 0

echo "Instalando: ${faltan[*]}"
como=()
[[ $(id -u) -eq 0 ]] || como=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${como[@]}" apt-get update -qq
"${como[@]}" apt-get install -y -qq --no-install-recommends "${faltan[@]}"
