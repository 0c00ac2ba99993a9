#pragma once
// The rules a book must meet before it is generated, and the check sequence the generate command
// runs: it stops at the first rule that fails and tells the operator.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "chapters/ChapterModel.h"
#include "controls/CMyRECtrl.h"
#include "controls/DialogHost.h"
#include "controls/ListBox.h"

namespace brisna {

// Which limits of the book formats a generation is held to: an EPUB knows neither the 30 KB
// chapter size nor the 98-chapter count.
enum class GenerateLimits { kBookFormats, kNoSizeOrCount };

// The generate-side checks. True when every rule passes; then the recorded text length and every
// chapter length are current for the text in the control. On a failure one message has been
// shown. Marks nothing and touches no list.
bool RunGenerateChecks(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                       DialogHost& host, std::string_view bookSourcePath,
                       GenerateLimits limits = GenerateLimits::kBookFormats);

// Records the text length and computes every chapter length. 0 when the offsets ascend strictly
// and the last chapter starts inside the text; otherwise the 1-based number of the first chapter
// at fault. `lastBeyondEnd` tells whether the fault is a last chapter at or past the end.
uint32_t ComputeChapterLengths(ChapterModel& chapters, uint32_t textLength,
                               bool* lastBeyondEnd = nullptr);

// True unless the chapter's heading, found at or after the start of the chapter's own line, lies
// somewhere other than at the start of a display line. A heading that no longer occurs there
// passes.
bool HeadingStartsItsLine(const CMyRECtrl& bookText, const ChapterRecord& chapter);

// True when the chapter's current length covers exactly its title's bytes in the text (and a
// CR LF after them when withLineBreak): a heading with nothing under it. Lengths must be current.
bool ChapterHoldsOnlyItsTitle(std::string_view text, const ChapterRecord& chapter,
                              bool withLineBreak);

// Length in GBK bytes of the file name in a book source path (the part after the last '/'; a
// name that is not valid UTF-8 is taken as GBK).
size_t BookFileNameBytes(std::string_view bookSourcePath);

// One value for a "%d" or "%s" of a message format.
struct MessageArg {
    MessageArg(int64_t value) : isNumber(true), number(value) {}
    MessageArg(std::string_view gbk) : text(gbk) {}
    MessageArg(const std::string& gbk) : text(gbk) {}
    MessageArg(const char* gbk) : text(gbk) {}
    bool isNumber = false;
    int64_t number = 0;
    std::string_view text;
};

// Fills the "%d" and "%s" of a UTF-8 message format in order: numbers in decimal, texts as the
// GBK bytes given. The result is GBK.
std::string FormatGbkMessage(std::string_view utf8Format, std::initializer_list<MessageArg> args);

}  // namespace brisna
