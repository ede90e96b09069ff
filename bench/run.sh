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

# shellcheck source=bench/common.sh
source "$here/common.sh"

python3 "$here/make_site.py" "$work/site"

bench_display

for ((round = 0; round < ${ROUNDS:-3}; round++)); do
    for page in fetch many; do
        timeout 300 "$baseline" "$work/site" "/$page.html" >>"$work/baseline-$page.out"
        WEBVIEW2_USER_DATA_FOLDER=$work/data/ timeout 300 "$host" --lib "$library" --root "$work/site" --preload \
            --quiet --start "file:///$page.html" >>"$work/ours-$page.out"
    done
done

python3 "$here/report.py" "$work"
