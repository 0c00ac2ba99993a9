#!/usr/bin/env bash
# Fails when a string literal holding Chinese text appears in src/ outside the messages headers
# (*Messages.h): what the program says to the operator is spelled once, in the header of its
# folder, and used by name.
#
# Allowed below: the few files whose Chinese literals are data the program reads or lays out
# text by (heading words, clean-up patterns, punctuation), not messages. Never add a file that
# speaks to the operator.
set -uo pipefail
src=${1:-$(cd "$(dirname "$0")/../.." && pwd)/src}

allowed=(
  # the punctuation a Chinese manual page may not break a line before or after
  cli/doc/ManPage.cpp
  # words the text is read by
  detect/OutlineWords.h detect/ChapterRule.cpp parts/PartPlan.cpp
  clean/JunkLines.cpp clean/ContentsBlock.cpp clean/WrappedLines.cpp clean/TextCleanup.cpp
  # the words and marks a book's title, author and summary are found by; the Chinese names of
  # the EPUB style choices the operator may type
  epub/BookDescription.cpp epub/GbkLines.cpp epub/EpubStyle.cpp
)

is_allowed() {
  local relative=$1 entry
  for entry in "${allowed[@]}"; do
    case $entry in
      */) [[ $relative == "$entry"* ]] && return 0 ;;
      *) [[ $relative == "$entry" ]] && return 0 ;;
    esac
  done
  return 1
}

status=0
used_entries=()
while IFS= read -r -d '' file; do
  relative=${file#"$src"/}
  [[ $(basename "$file") == *Messages.h ]] && continue
  # Comments out, then every "..." literal that holds CJK characters, CJK punctuation, full-width
  # forms or the curly quotes, dash and ellipsis of Chinese text.
  found=$(perl -CSD -ne '
    BEGIN { $block = 0 }
    my $line = $_; my $code = ""; my $in = 0;
    for (my $i = 0; $i < length $line; $i++) {
      my $c = substr($line, $i, 1); my $two = substr($line, $i, 2);
      if ($block) { if ($two eq "*/") { $block = 0; $i++ } next }
      if ($in) {
        $code .= $c;
        if ($c eq "\\") { $code .= substr($line, $i + 1, 1); $i++; next }
        $in = 0 if $c eq "\"";
        next;
      }
      if ($c eq "\x27") {  # a character literal: left out, so a quote inside it is no string
        my $end = index($line, "\x27", $i + 2);
        $end = $i if $end < 0;
        $i = $end; next;
      }
      if ($c eq "\"") { $in = 1; $code .= $c; next }
      last if $two eq "//";
      if ($two eq "/*") { $block = 1; $i++; next }
      $code .= $c;
    }
    while ($code =~ /"((?:[^"\\]|\\.)*)"/g) {
      my $text = $1;
      if ($text =~ /[\x{3000}-\x{303F}\x{3400}-\x{9FFF}\x{FF00}-\x{FFEF}\x{2014}\x{2026}\x{201C}\x{201D}]/) {
        print "$.: \"$text\"\n";
      }
    }
  ' "$file")
  if is_allowed "$relative"; then
    [ -n "$found" ] && used_entries+=("$relative")
    continue
  fi
  if [ -n "$found" ]; then
    while IFS= read -r hit; do
      echo "check-message-literals: src/$relative:$hit: Chinese text belongs in a *Messages.h header"
    done <<<"$found"
    status=1
  fi
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

# An entry whose files no longer hold Chinese text comes off the list, so it cannot hide a new one.
for entry in "${allowed[@]}"; do
  used=0
  for relative in "${used_entries[@]}"; do
    case $entry in
      */) [[ $relative == "$entry"* ]] && used=1 ;;
      *) [[ $relative == "$entry" ]] && used=1 ;;
    esac
  done
  if [ $used -eq 0 ]; then
    echo "check-message-literals: src/$entry holds no Chinese literal any more; take it off the allow-list"
    status=1
  fi
done

[ $status -eq 0 ] && echo "check-message-literals: no Chinese literal outside the messages headers"
exit $status
