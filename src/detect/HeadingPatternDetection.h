#pragma once
// "自动识别章节": finds the numbered headings a book uses without being told. Every line is
// looked at for a heading at its start (after blanks): 第 + numeral + 章/回/节/卷/集/部/篇/话,
// "Chapter N" / "CHAPTER N", 卷N, or a line holding nothing but a number. The headings are
// grouped by their form, and for each form the incremental add (headings at line start) is run
// on a copy of the book to see how many chapters it would mark and how much of the text they
// cover.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chapters/ChapterModel.h"
#include "controls/CMyRECtrl.h"
#include "controls/DialogHost.h"
#include "controls/ListBox.h"

namespace brisna {

struct HeadingCandidate {
    // The first heading of the run as the book writes it (GBK), to be given to the incremental
    // add. A heading that is nothing but a number ends with CR LF, so that only lines holding the
    // number alone match it.
    std::string startHeading;
    // Chapters the run marks (the front matter not counted), also past what one book holds.
    int32_t chapters = 0;
    int32_t coveragePercent = 0;   // share of the text the run's chapters cover, 0 .. 100
    int32_t firstLine = 0;         // the line the run starts at, counted from 0 (one per paragraph)
    uint32_t firstLineOffset = 0;  // byte offset where that line starts
};

// The candidates, best first: most chapters, then most coverage, then the earlier start. Only
// forms that mark at least two chapters are listed: one heading is no chapter structure. The text
// is the book text (GBK, CR LF).
std::vector<HeadingCandidate> DetectHeadingPatterns(std::string_view gbkText);

// One line for the command line's `detect`: "start heading \t chapters \t coverage%" (GBK), and
// "\t从第N行开始" (N counted from 1) when the run does not start on the first line. A trailing
// CR LF of the heading is left out.
std::string FormatHeadingCandidate(const HeadingCandidate& candidate);

// "本书共%d章，超过98章，请用“分册生成”" (GBK): recognition found more chapters than one book
// holds.
std::string FormatTooManyChaptersMessage(int64_t chapters);

// True when a candidate is a serious proposal: at least two chapters over at least half the
// text.
bool IsPlausibleCandidate(const HeadingCandidate& candidate);

// The title of the front-matter chapter that comes before the first heading: the first line
// before `end` that holds more than blanks, as a title is read from a line (blanks at its start
// kept, so the title is still found at the start of its line), at most 60 bytes cut on a
// character boundary; "前言" (GBK) when there is none.
std::string FrontMatterTitle(std::string_view gbkText, size_t end);

// Recognises the headings of the book in the view and marks its chapters: the best candidate is
// written into the start-chapter field; when the chapter list is empty and the run does not start
// on the first line, a first chapter at offset 0 holds the front matter; then the incremental add
// runs from the candidate's line with headings at line start. A book of more chapters than the
// list can hold marks none: the operator is told to make it into parts. When several candidates are
// plausible they are shown in one message first; when none is found the operator is told.
void AutoDetectChapters(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                        DialogHost& host, int32_t& detectionScanPosition);

}  // namespace brisna
