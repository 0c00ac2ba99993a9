#include "check/ValidationRules.h"

#include <string>
#include <unordered_map>

#include "Capacities.h"
#include "chapters/ChapterMessages.h"
#include "chapters/ChapterTitle.h"
#include "check/CheckMessages.h"
#include "text/CodePage936.h"
#include "text/FileNames.h"

namespace brisna {

namespace msg = check_messages;

namespace {

// The GBK form of a message format. A check can report millions of findings with a handful of
// formats, so each is converted once per thread.
const std::string& GbkFormat(std::string_view utf8Format) {
    thread_local std::unordered_map<std::string, std::string> converted;
    auto found = converted.find(std::string(utf8Format));
    if (found == converted.end()) {
        found = converted.emplace(std::string(utf8Format), Utf8ToGbk(utf8Format)).first;
    }
    return found->second;
}

}  // namespace

std::string FormatGbkMessage(std::string_view utf8Format, std::initializer_list<MessageArg> args) {
    // GBK trail bytes are never below 0x40, so a '%' in the converted format is always ours.
    const std::string& format = GbkFormat(utf8Format);
    std::string out;
    out.reserve(format.size() + 64);
    const MessageArg* next = args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c == '%' && i + 1 < format.size() && (format[i + 1] == 'd' || format[i + 1] == 's') &&
            next != args.end()) {
            if (next->isNumber) {
                out += std::to_string(next->number);
            } else {
                out += next->text;
            }
            ++next;
            ++i;
            continue;
        }
        out += c;
    }
    return out;
}

uint32_t ComputeChapterLengths(ChapterModel& chapters, uint32_t textLength, bool* lastBeyondEnd) {
    if (lastBeyondEnd != nullptr) *lastBeyondEnd = false;
    chapters.SetTextLength(textLength);
    uint32_t fault = chapters.ComputeLengths();
    // The length computation compares the text length only with the chapter before the last, so
    // a last chapter that starts at or past the end would get a wrapped length.
    uint32_t count = chapters.Count();
    if (fault == 0 && count > 0 && chapters.OffsetAt(count - 1) >= textLength) {
        fault = count;
        if (lastBeyondEnd != nullptr) *lastBeyondEnd = true;
    }
    return fault;
}

bool HeadingStartsItsLine(const CMyRECtrl& bookText, const ChapterRecord& chapter) {
    std::string_view title = chapter.Title();
    if (title.empty()) return true;
    const RichEdit& view = bookText.View();
    int32_t lineStart = view.LineIndex(bookText.LineOfOffset(chapter.offset));
    if (lineStart < 0) lineStart = 0;
    // The first occurrence on the chapter's own line or later; occurrences before it (a table of
    // contents) do not count.
    CharRange match = view.FindText({lineStart, -1}, title);
    if (match.min < 0) return true;
    return view.LineIndex(view.LineFromChar(match.min)) == match.min;
}

bool ChapterHoldsOnlyItsTitle(std::string_view text, const ChapterRecord& chapter,
                              bool withLineBreak) {
    std::string_view title = chapter.Title();
    const size_t expected = title.size() + (withLineBreak ? 2 : 0);
    if (chapter.length != expected || chapter.offset > text.size() ||
        text.size() - chapter.offset < expected) {
        return false;
    }
    // A chapter whose text merely has the title's length (a renamed chapter, an EPUB entry)
    // holds more than its heading.
    std::string_view body = text.substr(chapter.offset, expected);
    return body.substr(0, title.size()) == title && (!withLineBreak || body.ends_with("\r\n"));
}

size_t BookFileNameBytes(std::string_view bookSourcePath) {
    size_t slash = bookSourcePath.rfind('/');
    std::string_view name =
        slash == std::string_view::npos ? bookSourcePath : bookSourcePath.substr(slash + 1);
    return FileNameToGbk(name).size();
}

bool RunGenerateChecks(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                       DialogHost& host, std::string_view bookSourcePath, GenerateLimits limits) {
    const bool formatLimits = limits == GenerateLimits::kBookFormats;
    auto fail = [&host](const std::string& gbkMessage) {
        host.ShowMessage(gbkMessage, MessageCaption::kNone);
        return false;
    };
    // Lengths are computed first so the size rules judge the text as it is now, not as it was at
    // the last test; an offset fault is still reported in its usual place, after the others.
    std::string text = ReadBookText(bookText.View());
    uint32_t offsetFault = ComputeChapterLengths(chapters, static_cast<uint32_t>(text.size()));
    // Records from the faulty one on keep lengths that do not belong to this text.
    uint32_t count = chapters.Count();
    uint32_t freshLengths = offsetFault == 0 ? count : offsetFault - 1;

    for (uint32_t i = 0; i < count; ++i) {
        const ChapterRecord& chapter = *chapters.RecordAt(i);
        std::string_view title = chapter.Title();
        if (i < freshLengths) {
            if (formatLimits && chapter.length > kChapterSizeLimit) {
                return fail(FormatGbkMessage(msg::kTooLongFormat, {title}));
            }
            if (ChapterHoldsOnlyItsTitle(text, chapter, false)) {
                return fail(FormatGbkMessage(msg::kEmptyChapterFormat, {title}));
            }
        }
        for (uint32_t j = i + 1; j < count; ++j) {
            std::string_view later = chapters.RecordAt(j)->Title();
            if (later == title) {
                return fail(FormatGbkMessage(msg::kDuplicateFormat, {later, title}));
            }
        }
        if (!HeadingStartsItsLine(bookText, chapter)) {
            return fail(FormatGbkMessage(msg::kNotAtLineStartFormat, {title}));
        }
    }
    if (chapterList.GetCount() < 2) return fail(Utf8ToGbk(msg::kAddTwoChapters));
    if (chapters.OffsetAt(0) != 0) return fail(Utf8ToGbk(chapter_messages::kFirstNotAtStart));
    // The device's file-name rule; an EPUB takes any name the system takes.
    if (formatLimits && BookFileNameBytes(bookSourcePath) > kMaxBookFileNameBytes) {
        return fail(Utf8ToGbk(msg::kNameTooLong));
    }
    if (offsetFault != 0) {
        return fail(FormatGbkMessage(msg::kOffsetErrorFormat, {static_cast<int64_t>(offsetFault)}));
    }
    return true;
}

}  // namespace brisna
