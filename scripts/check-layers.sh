#!/usr/bin/env bash
# Checks that every source folder includes headers only from itself and the layers below it.
# Prints file:line: include for each wrong include and exits 1. Usage: check-layers.sh [ROOT]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}

# Folder (under src/, or tools/pack) and the folders it may include from, bottom layer first.
layers=(
  "abi:        abi"
  "platform:   abi platform"
  "shared:     abi platform shared"
  "browser:    abi platform shared browser"
  "bridge:     abi platform shared browser bridge"
  "runtime:    abi platform shared browser bridge runtime"
  "webview:    abi webview"
  "tools/pack: abi platform shared"
)

status=0
for layer in "${layers[@]}"; do
  folder=${layer%%:*}
  allowed=" $(echo ${layer#*:}) "
  dir=$root/src/$folder
  [[ $folder == tools/* ]] && dir=$root/$folder
  [[ -d $dir ]] || continue
  while IFS=: read -r file line text; do
    target=${text#*\"}
    target=${target%%/*}
    if [[ $allowed != *" $target "* ]]; then
      echo "${file#"$root"/}:$line: $text"
      status=1
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"/]+/' \
             --include='*.h' --include='*.cpp' --include='*.c' "$dir" | sort -t: -k1,1 -k2,2n || true)
done
exit $status
