#pragma once
// The outline of a whole book: every place a chapter begins, of a book of any length, with the
// volumes above the chapters, the named sections (楔子, 番外, 后记 ...) and the front matter before
// the first heading. It is built from the GBK text alone and knows no chapter limit: the part
// plan cuts it into books, and every other face may read it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brisna {

enum class OutlineEntryKind {
    kFrontMatter,  // the text before the first heading (title, author, blurb ...)
    kVolume,       // 第一卷 / 第二部 / 卷三: a level above chapters, never a chapter itself
    kChapter,      // a numbered heading: 第十二章, 第三回, Chapter 5, a number alone
    kNamedSection,  // 楔子, 序章, 番外, 后记, 尾声 ...: a chapter without a number
};

struct OutlineEntry {
    OutlineEntryKind kind = OutlineEntryKind::kChapter;
    // The title as a chapter takes it from its line (GBK): the line from its first byte, at most
    // 60 bytes cut on a character boundary. The front matter is titled as automatic recognition
    // titles it.
    std::string title;
    uint32_t offset = 0;  // where the heading's line starts in the whole loaded text
    int32_t line = 0;     // that line, counted from 0 (one per paragraph)
    int64_t number = -1;  // the heading's number; -1 for a heading without one
};

// One run of numbered headings of one form (第N章, 第N节, Chapter N, a number alone ...). A book
// may hold several runs one after another; each gives its own chapters.
struct OutlineRun {
    std::string firstHeading;  // the run's first heading word as the book writes it (第一章), GBK
    size_t chapters = 0;       // its numbered headings
    int32_t firstLine = 0;     // the line of its first heading, counted from 0
    uint32_t firstOffset = 0;  // where that line starts
};

struct BookOutline {
    std::vector<OutlineEntry> entries;  // in text order
    std::vector<OutlineRun> runs;       // in text order
    // Heading-like lines passed over because they stand in a contents list.
    size_t contentsEntries = 0;

    // Entries that become chapters: everything but the volumes.
    size_t ChapterCount() const;
    // True when the book has at least one heading (the front matter alone is no structure).
    bool HasHeadings() const;
};

// Builds the outline of a book text (GBK, CR LF).
BookOutline BuildBookOutline(std::string_view gbkText);

// A heading line as an entry's title: as much of it as a title holds, cut between characters.
std::string OutlineTitle(std::string_view lineContent);

// The title of the front-matter chapter that comes before the first heading: the first line
// before `end` that holds more than blanks, as a title is read from a line (blanks at its start
// kept), at most 60 bytes cut on a character boundary; "前言" (GBK) when there is none.
std::string FrontMatterTitle(std::string_view gbkText, size_t end);

// Reads a chapter number written in Chinese numerals at the start of `text` (GBK) as people
// write them: 一百零八, 两百一十八, 二〇〇八 and 一二三 (digit by digit), 〇 and 零, the financial
// forms 壹贰叁肆伍陆柒捌玖拾佰仟, 万 groups and the Traditional 兩貳參陸萬. Returns the bytes the
// numeral takes (0 when the text does not begin with one) and its value in `value`. A numeral
// too long or too large for any chapter number (kMaxHeadingNumber) reads as none.
size_t ReadOutlineNumeral(std::string_view text, int64_t& value);

// No chapter number is larger; a larger one is a number in the prose, not a heading.
inline constexpr int64_t kMaxHeadingNumber = 99'999'999;

}  // namespace brisna
