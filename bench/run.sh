#!/usr/bin/env bash
# Serving speed of the browser loader stand-in (test host + libcrvwebview.so, answers made with
# CreateMemoryStream) against a minimal WebKitGTK program that serves the same bytes from memory
# through a custom scheme: (a) a page fetch() of a 64 MiB entry, (b) a page with 200 scripts and 200
# images; and (c) the resident memory of each side's whole process tree a second after the page of
# (b) has loaded once. Each side loads the pages of (a) and (b) three times per process, in N runs
# (default 5) that take turns between the two sides; a run's figure is the median of its three loads.
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

# shellcheck source=bench/common.sh
source "$here/common.sh"

python3 "$here/make_site.py" "$work/site"

bench_display

run_side() { # side page
    if [[ $1 == baseline ]]; then
        timeout 300 "$baseline" "$work/site" "/$2.html"
    else
        # The view fills the window, as the baseline's does, so both draw the same area; developer tools
        # are off, as in a package that does not ask for them.
        WEBVIEW2_USER_DATA_FOLDER=$work/data/ timeout 300 "$host" --lib "$library" --root "$work/site" --preload \
            --quiet --bounds 0,0,800,600 --no-dev-tools --start "file:///$2.html"
    fi
}

# The resident memory of a process and all its descendants, in KiB.
tree_rss() {
    local total=0 child kib
    kib=$(awk '/^VmRSS:/ {print $2}' "/proc/$1/status" 2>/dev/null || true)
    total=${kib:-0}
    for child in $(ps -o pid= --ppid "$1"); do
        total=$((total + $(tree_rss "$child")))
    done
    echo "$total"
}

# Starts the memory page and, a second after it says it is loaded, writes the tree's memory.
measure_memory() { # side
    local out=$work/$1-memory.log
    : >"$out"
    run_side "$1" memory >"$out" &
    local pid=$!
    for _ in $(seq 300); do grep -q '"bench.*memory' "$out" && break; sleep 0.1; done
    sleep 1
    grep -q '"bench.*memory' "$out" && tree_rss "$pid" >>"$work/$1-memory.out"
    wait "$pid" || true
}

for ((run = 0; run < runs; run++)); do
    for page in fetch many; do
        for side in $(in_turn "$run" baseline ours); do run_side "$side" "$page" >>"$work/$side-$page.out"; done
    done
    for side in $(in_turn "$run" baseline ours); do measure_memory "$side"; done
done

PYTHONPATH=$here python3 "$here/report.py" "$work"
