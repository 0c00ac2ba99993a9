#pragma once
// The names a script may use for the window's buttons, the chapter list's menu items and the
// two edit fields: the caption the window shows, a short ASCII name, and the control id (which
// keeps working too).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brisna::cli {

struct ControlName {
    int id = 0;
    std::string caption;           // as the window shows it (UTF-8); empty for a field without one
    std::string shortName;         // ASCII
    std::string alternateCaption;  // the other caption of a toggle, or empty
};

// The buttons that `press` knows by name.
const std::vector<ControlName>& ButtonNames();
// The chapter list's context menu items (`menu`).
const std::vector<ControlName>& MenuNames();
// The edit fields (`type`).
const std::vector<ControlName>& FieldNames();

// The id a word names in a table: a caption, a short name or a decimal id. Nothing when the word
// is neither a name of the table nor a number.
std::optional<int> LookUpControl(const std::vector<ControlName>& table, std::string_view word,
                                 bool allowAnyId);

}  // namespace brisna::cli
