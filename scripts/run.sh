#!/usr/bin/env bash
# Builds radioset (release) and starts it. Installs the packages it needs
# first. With no USB serial adapter attached, a simulated module is started
# too and offered as COM1, so the window has a module to talk to.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build
cmake --preset release >/dev/null
cmake --build --preset release

shopt -s nullglob
adapters=(/dev/ttyUSB* /dev/ttyACM*)
if [ ${#adapters[@]} -eq 0 ]; then
  links="${XDG_DATA_HOME:-$HOME/.local/share}/radioset/ports"
  build/release/sim/radioset-sim --port 1 &
  sim=$!
  trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null' EXIT
  for _ in $(seq 50); do [ -e "$links/COM1" ] && break; sleep 0.1; done
  echo "No USB serial adapter found: the simulated module answers on COM1."
fi
build/release/shell/radioset "$@"
