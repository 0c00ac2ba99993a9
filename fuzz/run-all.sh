#!/usr/bin/env bash
# Builds the fuzz targets and runs each for a while (seconds, default 20) on its corpus under
# fuzz/corpus/<target>/. New inputs go to a scratch folder, so the committed corpus stays as is;
# with --keep, the inputs that reach new coverage are merged into the corpus afterwards.
#
#   fuzz/run-all.sh [SECONDS] [--keep]
#   FUZZ_BUILD=build/x   a separate clang build folder instead of the fuzz preset's
#   FUZZ_FILTER=Qbr      only the targets whose name contains this
#
# A crash, a sanitizer report, a timeout or a leak fails the run; the reproducer is copied to
# build/fuzz-artifacts/ and its path printed. Ends with one line per target: executions, time.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
keep=${2:-}
build=${FUZZ_BUILD:-build/fuzz}
filter=${FUZZ_FILTER:-}
jobs=2  # the machine is shared; never more

if [ "$build" = build/fuzz ]; then
  cmake --preset fuzz >/dev/null || exit 1
else
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DBRISNA_BUILD_FUZZ=ON -DBRISNA_BUILD_GUI=OFF -DBRISNA_BUILD_TESTS=OFF >/dev/null || exit 1
fi
targets=()
for source in fuzz/*Fuzzer.cpp; do
  name=$(basename "$source" .cpp)
  [[ -z "$filter" || "$name" == *"$filter"* ]] && targets+=("fuzz_$name")
done
cmake --build "$build" -j "$jobs" --target "${targets[@]}" || exit 1

artifacts=build/fuzz-artifacts
mkdir -p "$artifacts"
status=0
summary=()
for target in "${targets[@]}"; do
  binary=$build/fuzz/$target
  [ -x "$binary" ] || continue
  name=${target#fuzz_}
  scratch=$(mktemp -d)
  mkdir "$scratch/new"
  # Runs only read the committed corpus; a target without one starts from an empty folder
  # outside the tree (with --keep, its corpus folder is made for the merge).
  corpus=fuzz/corpus/$name
  if [ "$keep" = "--keep" ]; then
    mkdir -p "$corpus"
  elif [ ! -d "$corpus" ]; then
    corpus=$scratch/seed
    mkdir "$corpus"
  fi
  echo "== fuzz $name (${seconds}s)"
  # The EPUB reader must hold its memory and time bounds on any input: tighter limits for it.
  limits=(-timeout=10 -rss_limit_mb=2048)
  [ "$name" = EpubReaderFuzzer ] && limits=(-timeout=5 -rss_limit_mb=512)
  if "$binary" "$scratch/new" "$corpus" -max_total_time="$seconds" "${limits[@]}" \
      -print_final_stats=1 -artifact_prefix="$scratch/" 2>"$scratch/log"; then
    result=ok
  else
    status=1
    result=FAILED
    tail -n 40 "$scratch/log"
    for found in "$scratch"/crash-* "$scratch"/timeout-* "$scratch"/leak-* "$scratch"/oom-*; do
      [ -e "$found" ] || continue
      cp "$found" "$artifacts/$name-$(basename "$found")"
      echo "reproducer: $artifacts/$name-$(basename "$found")"
    done
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$scratch/log" | grep -o '[0-9]*$' || true)
  took=$(grep -o 'Done [0-9]* runs in [0-9]* second' "$scratch/log" | grep -o 'in [0-9]*' | grep -o '[0-9]*' || true)
  summary+=("$(printf '%-24s %-7s %10s runs %6s s' "$name" "$result" "${runs:-?}" "${took:-?}")")
  if [ "$keep" = "--keep" ]; then
    "$binary" -merge=1 -rss_limit_mb=2048 "$corpus" "$scratch/new" >/dev/null 2>&1 || true
  fi
  rm -rf "$scratch"
done
echo "== summary"
printf '%s\n' "${summary[@]}"
exit $status
