#!/usr/bin/env bash
# Start-up time: from starting a packed app to its page's DOMContentLoaded reaching native code (a
# crv.files.writeTextFile call whose file the runtime writes; the file's modification time is the
# moment), against the minimal WebKitGTK program of bench/ showing the same page from memory and
# answering the same call. N starts per side (default 5), taking turns, after one start of each that
# is not counted (it extracts the package's loader and warms the disk cache).
# Usage: bench/startup.sh [BUILD_DIR]   (default build/release; needs crv-pack, crv-runtime,
# crvwebview and bench-bridge-baseline)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build/release}" && pwd)
# shellcheck source=bench/common.sh
source "$here/common.sh"
bench_package_tools "$build"

mkdir -p "$work/site" "$work/app"
cat >"$work/site/index.html" <<'PAGE'
<!doctype html><html><head><title>Start-up bench</title><script>
document.addEventListener('DOMContentLoaded', () => {
  crv.files.writeTextFile({filePath: 'started.txt', contents: 'started'}).then(() => crv.app.close());
});
</script></head><body>Start-up bench</body></html>
PAGE
"$pack" "$work/site" -o "$work/app/startup" --id bench.startup --name "Start-up bench" --dir-name app >/dev/null

bench_display

# Prints the nanoseconds from the start of the command to the moment it wrote the file.
time_to_file() {
    local file=$1
    shift
    rm -f "$file"
    local start
    start=$(date +%s%N)
    timeout 60 "$@" >/dev/null || { echo "$* ended with $?" >&2; exit 1; }
    [[ -f $file ]] || { echo "$* wrote no $file" >&2; exit 1; }
    python3 -c 'import os, sys; print(os.stat(sys.argv[1]).st_mtime_ns - int(sys.argv[2]))' "$file" "$start"
}

bridge_script=$here/../resources/crv-external.js
for ((run = 0; run <= runs; run++)); do
    for side in $(in_turn "$run" baseline ours); do
        if [[ $side == baseline ]]; then
            time=$(time_to_file "$work/site/started.txt" "$baseline" "$work/site/index.html" "$bridge_script")
        else
            time=$(time_to_file "$work/app/started.txt" "$work/app/startup")
        fi
        ((run == 0)) || echo "$time" >>"$work/$side.times"
    done
done

PYTHONPATH=$here python3 - "$work" "$runs" <<'REPORT'
import pathlib, sys
import stats
work, runs = pathlib.Path(sys.argv[1]), sys.argv[2]
times = lambda side: [int(x) / 1e6 for x in (work / f"{side}.times").read_text().split()]
stats.header(runs, "Start-up, from the start to DOMContentLoaded reaching native code")
stats.row("start-up", "ms", times("baseline"), times("ours"), "target <= 1.00")
REPORT
