# shellcheck shell=bash
# Sourced by the benchmark scripts: a work folder that goes at exit; bench_package_tools, which finds
# what packing an app and the page baseline take; and bench_display, which gives the browser a
# display (Xvfb when there is none) and a private home inside the work folder; runs, the number of
# runs per side (N, default 5); and in_turn, the order of the sides in one run.
work=$(mktemp -d)
xvfb=""
# The display server is waited for: a benchmark started right after this one could otherwise be
# given the same display number while this server still holds it, and find no display there.
cleanup() {
    if [[ -n $xvfb ]]; then
        kill "$xvfb" 2>/dev/null
        wait "$xvfb" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

bench_display() {
    if [[ -z ${DISPLAY:-} ]]; then
        # Without -noreset the server starts over whenever its last client leaves, which here is between
        # every two programs, and a program that connects meanwhile can be refused ("cannot open display").
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
        xvfb=$!
        for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
        DISPLAY=":$(head -n 1 "$work/display")"
        export DISPLAY
    fi
    export HOME=$work/home XDG_DATA_HOME=$work/home/share XDG_CACHE_HOME=$work/home/cache \
        XDG_CONFIG_HOME=$work/home/config XDG_RUNTIME_DIR=$work/run NO_AT_BRIDGE=1 GDK_BACKEND=x11
    mkdir -p "$HOME"
    mkdir -m 700 "$work/run"
}

# Sets pack and baseline from the build folder $1, or ends the script when something is missing.
bench_package_tools() {
    pack=$1/bin/crv-pack
    baseline=$1/bin/bench-bridge-baseline
    local file
    for file in "$pack" "$1/bin/crv-runtime" "$1/bin/libcrvwebview.so" "$baseline"; do
        [[ -f $file ]] || { echo "missing $file: build crv-pack, crvwebview and bench-bridge-baseline" >&2; exit 2; }
    done
}

# Runs the package $1, whose page writes its result to $2 and closes, and prints that result.
bench_package_result() { # package result
    rm -f "$2"
    timeout 300 "$1" || { echo "the package ended with $?" >&2; exit 1; }
    [[ -f $2 ]] || { echo "the package wrote no $2" >&2; exit 1; }
    # The file is UTF-8 text with a byte-order mark.
    python3 -c 'import sys; print(open(sys.argv[1], encoding="utf-8-sig").read().strip())' "$2"
}

# N runs per side, each side's run i next to the other's; every report is a median over them.
runs=${N:-5}
[[ $runs =~ ^[1-9][0-9]*$ ]] || { echo "N must be a whole number of at least 1" >&2; exit 2; }

# The sides of run $1 in turn, the first side first in even runs and last in odd ones, so that
# neither side always starts on a machine the other has just warmed or loaded.
in_turn() { # run side...
    local run=$1
    shift
    if ((run % 2 == 0)); then
        echo "$@"
    else
        local sides=("$@") i
        for ((i = ${#sides[@]} - 1; i >= 0; i--)); do echo -n "${sides[i]} "; done
        echo
    fi
}
