#!/usr/bin/env bash
# Regenerates the README's screenshots: the program against the simulated
# module under Xvfb, driven by xdotool. Usage: scripts/screenshots.sh [bin-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build screenshot
if ! command -v xdotool >/dev/null; then
  [ "$(id -u)" -eq 0 ] && apt-get install -y -qq xdotool || sudo apt-get install -y -qq xdotool
fi
bin=${1:-build/release}
[ -x "$bin/shell/radioset" ] || { cmake --preset release >/dev/null; cmake --build --preset release; }
links=$(mktemp -d)

# The session runs inside Xvfb; xvfb-run starts it through sh, so it is a
# script of its own.
session=$(mktemp)
cat > "$session" <<'SESSION'
set -e
shoot() { import -window root -crop 709x598+316+118 "$1"; }
click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-0.4}"; }
XDG_DATA_HOME=$links "$bin/sim/radioset-sim" --port 1 --link-folder "$links/radioset/ports" &
sim=$!
sleep 1
XDG_DATA_HOME=$links "$bin/shell/radioset" &
app=$!
sleep 2.5
click 429 377                 # Open
click 640 371                 # air rate: Read
click 640 460                 # working channel: Read
click 640 540 0.6             # power level: Read
click 413 466 1.0             # Detect Radio
shoot docs/screenshot-en.png
click 680 226                 # frequency page
click 590 669 2.0             # channels 1-16: Read
shoot docs/screenshot-frequency-en.png
click 353 126 0.5             # Language menu
click 380 150 0.8             # Simplified Chinese
click 560 226 0.6             # parameter page
shoot docs/screenshot-zh.png
kill $app $sim; wait
SESSION
bin=$bin links=$links xvfb-run -a -s '-screen 0 1280x900x24' bash "$session"
rm -f "$session"
rm -rf "$links"
