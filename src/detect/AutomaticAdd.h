#pragma once
// What the two automatic adds (模糊添加章节 and 增量添加章节) share: finding where they start
// and stepping from one heading to the next.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "chapters/ChapterTitle.h"
#include "controls/DialogHost.h"
#include "controls/RichEdit.h"
#include "detect/HeadingParser.h"

namespace brisna {

namespace detection {

// Where both adds start: the heading typed into the start-chapter field, the book text and the
// heading's first occurrence in it at or after the scan position.
struct AddStart {
    std::string heading;
    std::string text;
    size_t occurrence = 0;
};

// Reads the field and finds the heading. Nothing when the command ends here: an empty field
// (its prompt shown, the scan position untouched) or a heading that is not in the text (its
// prompt shown, the scan position back at 0).
std::optional<AddStart> BeginAutomaticAdd(RichEdit& view, DialogHost& host,
                                          int32_t& detectionScanPosition, bool atLineStart);
// The same for a heading the caller already has.
std::optional<AddStart> BeginAutomaticAdd(std::string heading, RichEdit& view, DialogHost& host,
                                          int32_t& detectionScanPosition, bool atLineStart);

// Plain byte search (a match may start on a trail byte) from `from`; npos when there is none or
// `from` lies outside the text.
size_t FindBytes(std::string_view text, std::string_view needle, int64_t from);

// The scan position just after an occurrence, clamped to what the 32-bit member can hold.
int32_t PositionAfter(size_t occurrence, size_t length);

// Moves the heading on to the next number; false when the number cannot grow any more (a
// heading such as 第2147483647章 has no successor).
bool AdvanceNumber(HeadingParts& parts);

// True when the heading holds no number, or nothing but a number: there is no next heading.
inline bool HasNoNextHeading(const HeadingParts& parts) {
    return parts.Prefix().empty() && parts.Suffix().empty();
}

}  // namespace detection

}  // namespace brisna
