#!/usr/bin/env bash
# Runs check-sizes.sh on made-up sources whose sizes are known: braces inside literals and
# comments must not count, namespaces must not hide a function, tables and classes are no
# functions, and the limits hold exactly (121 lines offend, 120 do not).
set -uo pipefail
checker="$(cd "$(dirname "$0")" && pwd)/check-sizes.sh"
src=$(mktemp -d)
trap 'rm -rf "$src"' EXIT
mkdir -p "$src/a"

# filler N: N statement lines.
filler() { for ((i = 0; i < $1; i++)); do echo "    x += $i;"; done; }

{  # Long by 121 lines (signature + 119 + closing brace), with braces in every kind of literal.
  echo 'namespace brisna {'
  echo 'int Tricky(int x) {'
  echo '    const char* s = "}}}";  // }'
  echo "    char c = '}';"
  echo '    /* } } */'
  echo '    const char* r = R"x( } )" } )x";'
  filler 115
  echo '}'
  echo '}  // namespace brisna'
} >"$src/a/Tricky.cpp"
{  # Exactly 120 lines, then a 300-line table and class, which are no functions.
  echo 'int Fits(int x)'
  echo '{'
  filler 117
  echo '}'
  echo 'const int kTable[] = {'
  for ((i = 0; i < 150; i++)); do echo "    $i,"; done
  echo '};'
  echo 'struct Long {'
  for ((i = 0; i < 150; i++)); do echo "    int f$i() { return $i; }"; done
  echo '};'
} >"$src/a/Fits.cpp"
filler 500 >"$src/a/FiveHundred.h"
filler 501 >"$src/a/FiveHundredOne.h"

out=$("$checker" "$src" 2>&1)
status=0
expect() {
  if ! grep -qF -- "$1" <<<"$out"; then
    echo "check-sizes-selftest: missing \"$1\""
    status=1
  fi
}
refuse() {
  if grep -qF -- "$1" <<<"$out"; then
    echo "check-sizes-selftest: unexpected \"$1\""
    status=1
  fi
}
expect "src/a/Tricky.cpp:2: Tricky has 121 lines"
expect "src/a/FiveHundredOne.h has 501 lines"
refuse "Fits"
refuse "FiveHundred.h"
refuse "kTable"
refuse "Long"
[ $status -eq 0 ] || printf '%s\n' "$out"
[ $status -eq 0 ] && echo "check-sizes-selftest: the size check finds what it should and no more"
exit $status
