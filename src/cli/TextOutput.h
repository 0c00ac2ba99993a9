#pragma once
// The form a text is written out in: its encoding, its line ends and whether it opens with a
// byte-order mark. t2s writes a book back the way it came; unpack writes what a Linux editor
// expects unless the device's GBK is asked for.

#include <string>
#include <string_view>

#include "text/TextEncoding.h"

namespace brisna::cli {

enum class LineEnd { kLf, kCrLf, kCr };

struct TextForm {
    OutputEncoding encoding = OutputEncoding::kUtf8;
    LineEnd lineEnd = LineEnd::kLf;
    bool utf8Mark = false;  // UTF-8 only
};

// The line end of a file's first line break, read in the encoding the file loaded as (UTF-16
// by aligned code units, so that a character such as U+4E0A is not taken for a line feed).
// LF when the file has no line break.
LineEnd LineEndOf(std::string_view fileBytes, TextEncoding loadedAs);

// The form a text read from fileBytes is written back in: GBK stays GBK, UTF-8 stays UTF-8
// (with its mark, if it had one); UTF-16 and Big5 become UTF-8, which holds every Simplified
// character, unlike Big5. The line ends are the file's own.
TextForm FormOfInput(std::string_view fileBytes, TextEncoding loadedAs);

// The editor's GBK text (CR LF paragraph ends) in the form.
std::string TextInForm(std::string_view gbkText, const TextForm& form);

}  // namespace brisna::cli
