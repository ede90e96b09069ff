#!/bin/sh
# Runs the fuzz targets of a libFuzzer build one after the other, each for the given seconds, and
# prints per target the executions, the coverage reached and the findings. Each target keeps its
# growing corpus in BUILD/fuzz-corpus/TARGET and its reproducers in BUILD/fuzz-findings/TARGET.
# Usage: scripts/fuzz.sh BUILD SECONDS [TARGET...]   (targets: ZipArchive, MenuJson, ...)
set -u
build=$1
seconds=$2
shift 2
source_dir=$(cd "$(dirname "$0")/.." && pwd)
targets=$*
if [ -z "$targets" ]; then
    targets=$(cd "$build/bin" && ls fuzz-* | sed -n 's/^fuzz-//p' | grep -v '^seeds$')
fi

total_findings=0
summary=""
for target in $targets; do
    corpus=$build/fuzz-corpus/$target
    findings=$build/fuzz-findings/$target
    log=$build/fuzz-logs/$target.log
    mkdir -p "$corpus" "$findings" "$(dirname "$log")"
    before=$(ls "$findings" | grep -vc '^slow-unit-')
    slow_before=$(ls "$findings" | grep -c '^slow-unit-')
    echo "fuzzing $target for ${seconds}s (log: $log)"
    # Stdout and stderr of the code under test are closed: sanitizer reports still reach the log.
    LSAN_OPTIONS=suppressions=$source_dir/tests/lsan.supp \
        "$build/bin/fuzz-$target" -max_total_time="$seconds" -print_final_stats=1 -close_fd_mask=3 \
        -timeout=20 -artifact_prefix="$findings/" \
        "$corpus" "$build/fuzz-seeds/$target" "$source_dir/tests/fuzz/regressions/$target" >"$log" 2>&1
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | sed 's/cov: //')
    # Inputs slower than 10 s (libFuzzer keeps them as slow-unit-*) are told apart from failures.
    found=$(($(ls "$findings" | grep -vc '^slow-unit-') - before))
    slow=$(($(ls "$findings" | grep -c '^slow-unit-') - slow_before))
    total_findings=$((total_findings + found))
    line=$(printf '%-16s executions %-10s cov %-6s findings %s (slow inputs %s)' "$target" "${execs:-?}" \
        "${cov:-?}" "$found" "$slow")
    echo "$line"
    summary="$summary$line
"
done
echo
printf '%s' "$summary"
if [ "$total_findings" -gt 0 ]; then
    echo "findings are in $build/fuzz-findings; run one with $build/bin/fuzz-TARGET FILE"
    exit 1
fi
