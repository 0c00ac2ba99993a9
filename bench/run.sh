#!/usr/bin/env bash
# Builds the benchmarks in release mode, runs every bench_* program with repetitions, measures
# the peak memory of the command line generating the largest book, and prints one table of our
# median times next to the reference tools' on the same input (also written to
# bench/results.md).
#
#   bench/run.sh                      the release preset (build/release)
#   BENCH_BUILD=build/x bench/run.sh  a separate release folder, without the window
#   BENCH_REPETITIONS=5               repetitions per benchmark (default 3)
#   BENCH_FILTER=Lz77                 only the programs whose name contains this
set -uo pipefail
cd "$(dirname "$0")/.."

build=${BENCH_BUILD:-build/release}
repetitions=${BENCH_REPETITIONS:-3}
filter=${BENCH_FILTER:-}
jobs=2  # the machine is shared; never more

if [ "$build" = build/release ]; then
  cmake --preset release >/dev/null || exit 1
else
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRISNA_BUILD_BENCH=ON \
    -DBRISNA_BUILD_GUI=OFF -DBRISNA_BUILD_TESTS=OFF >/dev/null || exit 1
fi

programs=()
for source in bench/*Bench.cpp; do
  name=$(basename "$source" .cpp)
  [[ -z "$filter" || "$name" == *"$filter"* ]] && programs+=("$name")
done
# The window's timings live beside the others' folder; built only with the window.
for source in bench/window/*Bench.cpp; do
  [ -f "$source" ] || continue
  name=$(basename "$source" .cpp)
  [[ -z "$filter" || "$name" == *"$filter"* ]] && programs+=("$name")
done
targets=()
for name in "${programs[@]}"; do targets+=("bench_$name"); done
[ -f src/cli/CMakeLists.txt ] && targets+=(brisnamake-cli)
# A program that does not build is reported "not measured"; the others still run.
if ! cmake --build "$build" -j "$jobs" --target "${targets[@]}" >&2; then
  echo "warning: some targets failed to build; building them one at a time" >&2
  for target in "${targets[@]}"; do cmake --build "$build" -j "$jobs" --target "$target" >/dev/null 2>&1 || echo "  $target: not built" >&2; done
fi

results=$build/bench-results
rm -rf "$results"
mkdir -p "$results"

for name in "${programs[@]}"; do
  program=$build/bench/bench_$name
  if [ ! -x "$program" ]; then
    echo "== $name: not built" >&2
    continue
  fi
  echo "== $name" >&2
  if ! "$program" --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
      --benchmark_out="$results/$name.json" --benchmark_out_format=json \
      >"$results/$name.log" 2>&1; then
    echo "   failed; see $results/$name.log" >&2
  fi
  grep -E '_median' "$results/$name.log" >&2 || tail -n 5 "$results/$name.log" >&2
done

# Peak memory of the command line on the largest book generation takes. The books come from
# the test-command benchmark, so they hold the same real text as the others.
cli=$(realpath "$build/src/cli/brisnamake-cli" 2>/dev/null)
writer=$build/bench/bench_TestCommandBench
if [ -n "$cli" ] && [ -x "$cli" ] && [ -x "$writer" ]; then
  books=$(mktemp -d)
  if "$writer" --write-books="$books"; then
    : >"$books/empty-words.csv"  # no suspicious words: the list must be a regular file
    echo "== peak memory of brisnamake-cli generate" >&2
    # getrusage of the only child: its own peak resident set, whatever the platform's time(1).
    python3 - "$cli" "$books/largest-book.txt" "$results/memory.json" <<'EOF' >&2
import json, os, resource, subprocess, sys, time
cli, book, out = sys.argv[1:]
start = time.monotonic()
run = subprocess.run([cli, "generate", book, "--incremental", "第1章", "--words", os.path.join(os.path.dirname(book), "empty-words.csv")],
                     cwd=os.path.dirname(book), capture_output=True, text=True)
seconds = time.monotonic() - start
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
json.dump({"book_bytes": os.path.getsize(book), "peak_rss_kib": peak, "seconds": seconds,
           "exit_code": run.returncode, "output": run.stdout[-2000:]}, open(out, "w"))
print(f"   exit {run.returncode}, {seconds:.2f} s, peak {peak / 1024:.1f} MiB")
if run.returncode != 0:
    print(run.stdout[-1000:], run.stderr[-1000:])
EOF
    # The test command on the books with the most findings: time and peak memory.
    for kind in garbled-pairs blank-lines; do
      echo "== time and peak memory of brisnamake-cli check ($kind)" >&2
      python3 - "$cli" "$books/$kind.txt" "$results/check-$kind.json" <<'EOF' >&2
import json, os, resource, subprocess, sys, time
cli, book, out = sys.argv[1:]
start = time.monotonic()
run = subprocess.run([cli, "check", book, "--words", os.path.join(os.path.dirname(book), "empty-words.csv")], cwd=os.path.dirname(book),
                     stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
seconds = time.monotonic() - start
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
# check exits 1 when it lists problems, which these books always have.
json.dump({"book_bytes": os.path.getsize(book), "peak_rss_kib": peak, "seconds": seconds,
           "exit_code": run.returncode}, open(out, "w"))
print(f"   exit {run.returncode}, {seconds:.2f} s, peak {peak / 1024:.1f} MiB")
EOF
    done
  fi
  rm -rf "$books"
fi

{
  echo "# Benchmark results"
  echo
  echo "Latest \`bench/run.sh\` run: $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores," \
    "load average $(cut -d' ' -f1-3 /proc/loadavg), $repetitions repetitions per benchmark," \
    "medians of wall-clock time. Reference tools ran on the same input in the same run."
  echo
  python3 bench/report.py "$results"
} >"$results/results.md"
cat "$results/results.md"
if [ -z "$filter" ]; then
  cp "$results/results.md" bench/results.md
fi
