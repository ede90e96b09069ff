#!/usr/bin/env bash
# Packs examples/hello and opens it. Without a display it runs under Xvfb and saves a screenshot to
# build/demo.png once the page says it is ready (its caption gains the runtime's version), or after
# READY_TIMEOUT seconds (default 60) with a message that it was not.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/release/bin
out=build/demo/hello
mkdir -p "$(dirname "$out")"
"$bin/crv-pack" examples/hello -o "$out" --id crv.demo.hello --name "Hello from crv" --set DynamicAppTitle=1
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
limit=${READY_TIMEOUT:-60}
ready=0
gone=0
for _ in $(seq 1 $((limit * 10))); do
  if xdotool search --onlyvisible --name '^Hello from crv [0-9]' >/dev/null 2>&1; then ready=1; break; fi
  kill -0 "$app" 2>/dev/null || { gone=1; break; }
  sleep 0.1
done
import -window root build/demo.png
kill "$app" "$wm" 2>/dev/null || true
wait "$app" 2>/dev/null || true
if [[ $ready == 1 ]]; then
  echo "Saved a screenshot of the demo to build/demo.png"
elif [[ $gone == 1 ]]; then
  echo "The demo ended before its page was ready; build/demo.png shows the screen as it was then." >&2
  exit 1
else
  echo "The demo page did not say it was ready within ${limit} s (set READY_TIMEOUT for longer);" \
    "build/demo.png shows it as it was then." >&2
  exit 1
fi
