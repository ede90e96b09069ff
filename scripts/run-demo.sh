#!/usr/bin/env bash
# Packs examples/hello and opens it. Without a display it runs under Xvfb, saves a screenshot to
# build/demo.png and says so.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/release/bin
out=build/demo/hello
mkdir -p "$(dirname "$out")"
"$bin/crv-pack" examples/hello -o "$out" --id crv.demo.hello --name "Hello from crv"
# A package keeps the browser loader it extracted on its first start; the demo is to run with the
# loader just built.
rm -f "${XDG_DATA_HOME:-$HOME/.local/share}/crv.demo.hello/Win64/WebView2LoaderWin64.dll"

if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  exec "$out"
fi

echo "No display: running the demo under Xvfb for a screenshot."
numfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$numfile" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -f "$numfile"' EXIT
for _ in $(seq 1 100); do [[ -s "$numfile" ]] && break; sleep 0.1; done
number=$(head -n1 "$numfile")
export DISPLAY=":$number"
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
NO_AT_BRIDGE=1 "$out" &
app=$!
for _ in $(seq 1 100); do
  if xdotool search --onlyvisible --name '^Hello from crv$' >/dev/null 2>&1; then break; fi
  sleep 0.1
done
sleep 3
import -window root build/demo.png
kill "$app" "$wm" 2>/dev/null || true
wait "$app" 2>/dev/null || true
echo "Saved a screenshot of the demo to build/demo.png"
