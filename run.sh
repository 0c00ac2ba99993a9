#!/usr/bin/env bash
# Sets everything up, builds the release program and starts the window (./run.sh BOOK.txt opens
# that book). Without a display it says so and generates the sample book with the command line.
# The program starts in the folder you call this from, so relative book paths and the
# suspicious-word file "BrisnaMake.csv" of that folder work as you expect.
set -euo pipefail
repo=$(cd "$(dirname "$0")" && pwd)

"$repo/scripts/install-deps.sh" run build
(cd "$repo" && cmake --preset release >/dev/null && cmake --build --preset release -j "$(nproc)")

gui=$repo/build/release/src/gui/BrisnaMake
cli=$repo/build/release/src/cli/brisnamake-cli
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$gui" ]; then
  exec "$gui" "$@"
fi
echo "没有图形显示（DISPLAY 未设置），改为用命令行生成示例图书：brisnamake-cli generate"
out=$(mktemp -d)
cp "$repo/res/sample/sample.txt" "$out/"
"$cli" generate "$out/sample.txt" --incremental 第一章
ls -l "$out"
