#!/usr/bin/env bash
# Fails when a folder of src/ includes a header of a folder at its own level or above it.
# The order, lowest first; folders on one line are peers and stay out of each other's way:
#   text < controls < chapters < detect, check < clean, book < parts, epub < app < gui, cli
set -uo pipefail
src=${1:-$(cd "$(dirname "$0")/../.." && pwd)/src}

level() {
  case $1 in
    text) echo 0 ;; controls) echo 1 ;; chapters) echo 2 ;;
    detect | check) echo 3 ;; clean | book) echo 4 ;; parts | epub) echo 5 ;;
    app) echo 6 ;; gui | cli) echo 7 ;; *) echo -1 ;;
  esac
}

status=0
for dir in "$src"/*/; do
  folder=$(basename "$dir")
  own=$(level "$folder")
  if [ "$own" -lt 0 ]; then
    echo "check-layering: src/$folder has no place in the order; add it to this script and the README"
    status=1
    continue
  fi
  while IFS=: read -r file line text; do
    included=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$text")
    [ "$included" = "$folder" ] && continue
    other=$(level "$included")
    [ "$other" -lt 0 ] && continue  # not a folder of src/ (a generated header, a library)
    if [ "$other" -ge "$own" ]; then
      echo "check-layering: ${file#"$src"/}:$line includes $included/, which is not below $folder/"
      status=1
    fi
  done < <(grep -rnE '^\s*#\s*include\s+"[a-z]+/' "$dir" --include='*.h' --include='*.cpp' /dev/null)
done
[ $status -eq 0 ] && echo "check-layering: every folder includes only folders below it"
exit $status
