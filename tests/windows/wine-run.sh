#!/bin/sh
# Runs a cross-built test program under Wine (CRV_WINE names it). Now and then a Wine start fails
# before the program runs, printing nothing: such a start is tried again, up to three times in all,
# so that it neither fails a test nor loses a program's whole list of tests. A run that printed
# anything is never retried (test programs print as they start), and what Wine said about a failed
# start is kept in the output.
wine=${CRV_WINE:-wine}
err=$(mktemp) || exit 1
trap 'rm -f "$err"' EXIT
for try in 1 2 3; do
  out=$("$wine" "$@" 2>"$err")
  rc=$?
  if [ "$rc" -eq 0 ] || [ -n "$out" ]; then
    printf '%s\n' "$out"
    cat "$err" >&2
    exit "$rc"
  fi
  echo "wine-run.sh: Wine ended before the program printed anything (exit $rc, try $try of 3)" >&2
  cat "$err" >&2
  sleep 1
done
exit "$rc"
