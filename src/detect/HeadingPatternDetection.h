#pragma once
// What automatic recognition offers, read off the book's outline: the form of its headings, how
// many chapters they make and where they start, as `detect` prints it, and the marking of the
// outline's chapters in the chapter list (自动识别章节, --auto).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chapters/ChapterModel.h"
#include "controls/ListBox.h"
#include "detect/BookOutline.h"

namespace brisna {

struct HeadingCandidate {
    std::string startHeading;      // the first heading word as the book writes it (GBK)
    int32_t chapters = 0;          // chapters it stands for, also past what one book holds
    int32_t coveragePercent = 0;   // share of the text those chapters cover, 0 .. 100
    int32_t firstLine = 0;         // the line of the first heading, counted from 0
    uint32_t firstLineOffset = 0;  // byte offset where that line starts
};

// The outline as `detect` shows it: first the whole recognition (its first heading, every
// chapter the outline makes, the front matter and named sections included, and the share of the
// text from its first heading on); then, when the book numbers its chapters in several runs (节,
// then 话), one line per run in text order. Empty when the book has no headings.
std::vector<HeadingCandidate> HeadingCandidatesOf(const BookOutline& outline, size_t textSize);
std::vector<HeadingCandidate> DetectHeadingPatterns(std::string_view gbkText);

// One line for the command line's `detect`: "start heading \t chapters \t coverage%" (GBK), and
// "\t从第N行开始" (N counted from 1) when the heading does not start on the first line.
std::string FormatHeadingCandidate(const HeadingCandidate& candidate);

// Replaces the chapter list by the outline's chapters: the front matter, the numbered chapters
// and the named sections, each at its line (a chapter that follows a volume line begins at that
// line, so the volume's name stays with it). The caller has checked that they fit the list.
void MarkOutlineChapters(const BookOutline& outline, ListBox& chapterList, ChapterModel& chapters);

}  // namespace brisna
