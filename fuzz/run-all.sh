#!/usr/bin/env bash
# Builds the fuzz targets and runs each for a while (seconds, default 20) on its corpus under
# fuzz/corpus/<target>/. New inputs go to a scratch folder, so the committed corpus stays as is;
# copy what is worth keeping by hand (or with fuzz/run-all.sh SECONDS --keep).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
keep=${2:-}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

status=0
for target in build/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target"); name=${name#fuzz_}
  corpus=fuzz/corpus/$name
  mkdir -p "$corpus"
  scratch=$(mktemp -d)
  echo "== fuzz $name (${seconds}s)"
  if ! "$target" "$scratch" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$scratch/" 2>"$scratch/log"; then
    status=1
    tail -n 40 "$scratch/log"
    ls "$scratch"/crash-* "$scratch"/timeout-* "$scratch"/leak-* 2>/dev/null || true
  else
    grep -E 'stat::number_of_executed_units|Done' "$scratch/log" | tail -n 2 || true
  fi
  if [ "$keep" = "--keep" ]; then
    "$target" -merge=1 "$corpus" "$scratch" >/dev/null 2>&1 || true
  fi
  rm -rf "$scratch"
done
exit $status
