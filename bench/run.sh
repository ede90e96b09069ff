#!/usr/bin/env bash
# Serving speed of the browser loader stand-in (test host + libcrvwebview.so, answers made with
# CreateMemoryStream) against a minimal WebKitGTK program that serves the same bytes from memory
# through a custom scheme: (a) a page fetch() of a 64 MiB entry, (b) a page with 200 scripts and 200
# images. Each side loads its pages three times per process, in ROUNDS rounds (default 3) that take
# turns between the two sides; the figures are the medians of all loads.
# Usage: bench/run.sh [BUILD_DIR]   (default build/release; needs crvwebview, wvhost, bench-scheme-baseline)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build/release}" && pwd)
baseline=$build/bin/bench-scheme-baseline
host=$build/fixtures/wvhost
library=$build/bin/libcrvwebview.so
for file in "$baseline" "$host" "$library"; do
    [[ -x $file || -f $file ]] || { echo "missing $file: build crvwebview, wvhost and bench-scheme-baseline" >&2; exit 2; }
done

work=$(mktemp -d)
xvfb=""
cleanup() {
    [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

python3 "$here/make_site.py" "$work/site"

if [[ -z ${DISPLAY:-} ]]; then
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
    export DISPLAY=":$(head -n 1 "$work/display")"
fi
export HOME=$work/home XDG_DATA_HOME=$work/home/share XDG_CACHE_HOME=$work/home/cache NO_AT_BRIDGE=1 GDK_BACKEND=x11
mkdir -p "$HOME"

for ((round = 0; round < ${ROUNDS:-3}; round++)); do
    for page in fetch many; do
        timeout 300 "$baseline" "$work/site" "/$page.html" >>"$work/baseline-$page.out"
        WEBVIEW2_USER_DATA_FOLDER=$work/data/ timeout 300 "$host" --lib "$library" --root "$work/site" --preload \
            --quiet --start "file:///$page.html" >>"$work/ours-$page.out"
    done
done

python3 "$here/report.py" "$work"
