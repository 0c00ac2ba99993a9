#pragma once
// "模糊添加章节": marks a chapter at every occurrence of a heading and of the headings numbered
// after it, until the next heading is not found.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "chapters/ChapterModel.h"
#include "controls/CMyRECtrl.h"
#include "controls/DialogHost.h"
#include "controls/ListBox.h"
#include "detect/HeadingParser.h"

namespace brisna {

// Reads the heading from the start-chapter field and appends chapters through
// AppendChapterAtCaretLine. `detectionScanPosition` is the dialog's scan position: the command
// moves it while it runs and leaves it at 0 on every path past the empty-field check. With
// `headingsAtLineStart` an occurrence counts only where it begins its line (after blanks), so
// cross-references in running text are passed over.
void KeywordChapterAdd(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                       DialogHost& host, int32_t& detectionScanPosition,
                       bool headingsAtLineStart = false);

// Shared by the two automatic adds.
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

// The book text as the commands see it: the view's text, cut to the whole-text buffer size and
// at its first NUL.
std::string ReadBookText(const RichEdit& view);

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
