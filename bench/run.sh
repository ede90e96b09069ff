#!/usr/bin/env bash
# Serving speed of the browser loader stand-in (test host + libcrvwebview.so, answers made with
# CreateMemoryStream) against a minimal WebKitGTK program that serves the same bytes from memory
# through a custom scheme: (a) a page fetch() of a 64 MiB entry, (b) a page with 200 scripts and 200
# images; and (c) the resident memory of each side's whole process tree a second after the page of
# (b) has loaded once. Each side loads the pages of (a) and (b) three times per process, in N runs
# (default 5) that take turns between the two sides; a run's figure is the median of its three loads.
# Then (d), the entry of (a) fetched three times by the page of a package made with crv-pack, as an
# app's files are served (read from the archive and decrypted), against the baseline's (a).
# Usage: bench/run.sh [BUILD_DIR]   (default build/release; needs crv-pack, crv-runtime, crvwebview,
# wvhost and bench-scheme-baseline)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build/release}" && pwd)
baseline=$build/bin/bench-scheme-baseline
host=$build/fixtures/wvhost
library=$build/bin/libcrvwebview.so
pack=$build/bin/crv-pack
for file in "$baseline" "$host" "$library" "$pack" "$build/bin/crv-runtime"; do
    [[ -x $file || -f $file ]] || { echo "missing $file: build crv-pack, crv-runtime, crvwebview, wvhost and bench-scheme-baseline" >&2; exit 2; }
done

# shellcheck source=bench/common.sh
source "$here/common.sh"

python3 "$here/make_site.py" "$work/site"

# The package of (d): the same 64 MiB entry, and a page that writes its loads beside the package.
mkdir -p "$work/package-site" "$work/app"
ln "$work/site/big.bin" "$work/package-site/big.bin"
cat >"$work/package-site/index.html" <<'EOF'
<!doctype html><script>
window.addEventListener('load', async () => {
  const runs = [];
  for (let i = 0; i < 3; i++) {
    const start = performance.now();
    const bytes = await (await fetch('big.bin')).arrayBuffer();
    runs.push([performance.now() - start, bytes.byteLength]);
  }
  await crv.files.writeTextFile({filePath: 'bench-result.json', contents: JSON.stringify({bench: 'package', runs})});
  crv.app.close();
});
</script>
EOF
"$pack" "$work/package-site" -o "$work/app/bench" --id bench.package --name "Package bench" --dir-name app >/dev/null

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
    bench_package_result "$work/app/bench" "$work/app/bench-result.json" >>"$work/package-package.out"
    for side in $(in_turn "$run" baseline ours); do measure_memory "$side"; done
done

PYTHONPATH=$here python3 "$here/report.py" "$work"
