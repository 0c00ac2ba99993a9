#!/usr/bin/env bash
# Fails when a file of src/ is longer than 500 lines or a function in it longer than 120.
#
# Function bodies are found by matching braces, not by parsing C++:
# - comments, string and character literals (raw strings too) and preprocessor lines are
#   blanked first, so braces inside them do not count;
# - braces of `namespace ... {` and `extern "C" {` are transparent: what they hold counts as
#   standing at namespace level;
# - a brace opened at namespace level whose head (the text since the last `;` or the end of
#   the last block that ran over more than one line) holds a `(` and does not start with
#   class, struct, union or enum opens a function; its length runs from the first line of that
#   head to the line of its closing brace. A constructor's brace-initialised member opens a
#   "function" of one line, which the check passes; its body is measured as its own block.
# - member functions written inside a class body are not measured (they are short by habit);
#   member functions defined outside the class, lambdas at namespace level and everything
#   nested inside a function (its lambdas, local classes) count with their function.
#
#   check-sizes.sh [SRC_DIR]
set -uo pipefail
src=${1:-$(cd "$(dirname "$0")/../.." && pwd)/src}
max_file_lines=500
max_function_lines=120

# Offenders still waiting for their split, each "path" or "path:function" relative to src/.
# Remove an entry once its file or function is back within the limits; the check fails on an
# entry that no longer offends, so the list cannot outlive its reason.
allowed=(
)

is_allowed() {
  local entry
  for entry in "${allowed[@]}"; do [ "$entry" = "$1" ] && return 0; done
  return 1
}

status=0
found=()
while IFS= read -r file; do
  rel=${file#"$src"/}
  lines=$(wc -l <"$file")
  if [ "$lines" -gt "$max_file_lines" ]; then
    found+=("$rel")
    if ! is_allowed "$rel"; then
      echo "check-sizes: src/$rel has $lines lines (at most $max_file_lines)"
      status=1
    fi
  fi
  while IFS=$'\t' read -r name start length; do
    found+=("$rel:$name")
    if ! is_allowed "$rel:$name"; then
      echo "check-sizes: src/$rel:$start: $name has $length lines (at most $max_function_lines)"
      status=1
    fi
  done < <(awk -v limit="$max_function_lines" '
    function ident(c) { return c ~ /[A-Za-z0-9_]/ }
    # The name a head declares: the qualified identifier before its first "(".
    function name_of(head,   at, before, n) {
      at = index(head, "(")
      before = substr(head, 1, at - 1)
      sub(/[ \t]+$/, "", before)
      n = split(before, words, /[ \t*&]+/)
      return n > 0 ? words[n] : "?"
    }
    BEGIN { state = "code"; depth = 0; head = ""; head_line = 0 }
    {
      line = $0
      if (state == "code" && line ~ /^[ \t]*#/) { pp = 1 }
      if (pp) { pp = (line ~ /\\$/); next }
      n = length(line)
      for (i = 1; i <= n; i++) {
        c = substr(line, i, 1)
        if (state == "block") {
          if (c == "*" && substr(line, i + 1, 1) == "/") { state = "code"; i++ }
          continue
        }
        if (state == "string" || state == "char") {
          if (c == "\\") { i++; continue }
          if ((state == "string" && c == "\"") || (state == "char" && c == "\047")) state = "code"
          continue
        }
        if (state == "raw") {
          if (substr(line, i, length(raw_end)) == raw_end) { i += length(raw_end) - 1; state = "code" }
          continue
        }
        if (c == "/" && substr(line, i + 1, 1) == "/") break
        if (c == "/" && substr(line, i + 1, 1) == "*") { state = "block"; i++; continue }
        if (c == "\"") {
          p = substr(line, i - 1, 1); q = substr(line, i - 2, 1)
          if (p == "R" && (i < 3 || !ident(q) || q == "8")) {
            open = index(substr(line, i + 1), "(")
            raw_end = ")" substr(line, i + 1, open - 1) "\""
            i += open
            state = "raw"
          } else {
            state = "string"
          }
          continue
        }
        if (c == "\047") {
          # A digit separator (1\0470000) is no character literal.
          if (i > 1 && substr(line, i - 1, 1) ~ /[0-9A-Fa-f]/ && substr(line, i + 1, 1) ~ /[0-9A-Fa-f]/) continue
          state = "char"; continue
        }
        if (c == "{") {
          if (depth == 0) {
            if (head ~ /^[ \t]*(inline[ \t]+)?namespace([ \t]|$)/ || head ~ /^[ \t]*extern[ \t]+"C"/) {
              kinds[++top] = "ns"; head = ""; head_line = 0; continue
            }
            kinds[++top] = "top"
            is_function = index(head, "(") > 0 && head !~ /^[ \t]*(template[ \t]*<[^>]*>[ \t]*)?(class|struct|union|enum)([ \t]|$)/
            body_name = is_function ? name_of(head) : ""
            body_start = head_line ? head_line : NR
            body_open = NR
          } else {
            kinds[++top] = "inner"
          }
          depth++
          continue
        }
        if (c == "}") {
          if (top > 0 && kinds[top] == "ns") { top--; head = ""; head_line = 0; continue }
          if (top > 0) top--
          if (depth > 0) depth--
          if (depth == 0) {
            if (body_name != "" && NR - body_start + 1 > limit) {
              printf "%s\t%d\t%d\n", body_name, body_start, NR - body_start + 1
            }
            body_name = ""
            if (NR > body_open) { head = ""; head_line = 0 }
          }
          continue
        }
        if (depth == 0) {
          if (c == ";") { head = ""; head_line = 0; continue }
          if (c !~ /[ \t]/ && head_line == 0) head_line = NR
          head = head c
        }
      }
      if (state == "string" || state == "char") state = "code"  # never spans lines
      if (depth == 0 && head != "") head = head " "
    }
  ' "$file")
done < <(find "$src" -name '*.cpp' -o -name '*.h' | sort)

for entry in "${allowed[@]}"; do
  stale=1
  for offender in "${found[@]}"; do [ "$offender" = "$entry" ] && stale=0; done
  if [ $stale -eq 1 ]; then
    echo "check-sizes: src/$entry is within the limits now; remove it from the allowed list"
    status=1
  fi
done
[ $status -eq 0 ] && echo "check-sizes: every file and function of src/ is within its limits" \
  "(${#allowed[@]} allowed to wait)"
exit $status
