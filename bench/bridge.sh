#!/usr/bin/env bash
# Round trips of bridge calls: a packed app whose page awaits crv.hello() (through the runtime, the
# bridge module and the browser loader stand-in) against a minimal WebKitGTK program that answers the
# same page's calls, once on each message's reply and once with evaluate_javascript. After 200
# warm-up calls the page times CALLS calls (default 2000) one after the other, then CALLS calls with
# 8 in flight. N runs per side (default 5), one process each, taking turns between the three sides.
# Usage: bench/bridge.sh [BUILD_DIR]   (default build/release; needs crv-pack, crv-runtime,
# crvwebview and bench-bridge-baseline)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build/release}" && pwd)
# shellcheck source=bench/common.sh
source "$here/common.sh"
bench_package_tools "$build"
calls=${CALLS:-2000}
# The report measures blocks of 100 calls.
if ! [[ $calls =~ ^[1-9][0-9]+$ ]] || ((calls < 100)); then
    echo "CALLS must be a whole number of at least 100" >&2
    exit 2
fi


# performance.now() ticks in whole milliseconds here, so the page keeps the time of every call's end
# and the report measures blocks of calls.
mkdir -p "$work/site" "$work/app"
sed "s/@CALLS@/$calls/" >"$work/site/index.html" <<'EOF'
<!doctype html><html><head><title>Bridge bench</title><script>
const CALLS = @CALLS@, WARMUP = 200, WIDTH = 8;
async function run(width) {
  const ends = [];
  let started = 0;
  const lane = async () => {
    while (started < CALLS) {
      started++;
      await crv.hello();
      ends.push(performance.now());
    }
  };
  const start = performance.now();
  await Promise.all(Array.from({length: width}, lane));
  return {width, start, ends};
}
window.addEventListener('load', async () => {
  let result;
  try {
    const hello = await crv.hello();
    for (let i = 1; i < WARMUP; i++) await crv.hello();
    result = {bench: 'bridge', hello, runs: [await run(1), await run(WIDTH)]};
  } catch (e) {
    result = {bench: 'bridge', error: String(e)};
  }
  await crv.files.writeTextFile({filePath: 'bench-result.json', contents: JSON.stringify(result)});
  crv.app.close();
});
</script></head><body>Bridge bench</body></html>
EOF
"$pack" "$work/site" -o "$work/app/bench" --id bench.bridge --name "Bridge bench" --dir-name app >/dev/null

bench_display

result=$work/app/bench-result.json
for ((run = 0; run < runs; run++)); do
    for side in $(in_turn "$run" reply evaluate ours); do
        if [[ $side == ours ]]; then
            bench_package_result "$work/app/bench" "$result" >>"$work/ours.out"
        else
            flag=()
            [[ $side == evaluate ]] && flag=(--evaluate)
            timeout 300 "$baseline" "${flag[@]}" "$work/site/index.html" "$here/../resources/crv-external.js" \
                >>"$work/$side.out" || { echo "the baseline ($side) ended with $?" >&2; exit 1; }
        fi
    done
done

PYTHONPATH=$here python3 "$here/bridge_report.py" "$work"
