#pragma once
// Reading one line as a heading: the heading word it begins with (第一章, Chapter 1, 楔子,
// 【第一章】, a number alone), or a volume and its first chapter on one line.

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string_view>

#include "detect/BookOutline.h"
#include "detect/OutlineWords.h"

namespace brisna::outline {

// Which run of headings a heading belongs to ("di" + its unit, "en", "juan", "section",
// "number-a", "number-c"). Held in place in eight bytes, unused ones zero (no form holds a zero
// byte): a book may hold half a million candidate headings, and a string each made the candidate
// list several times larger than the text.
class FormKey {
  public:
    FormKey() = default;
    FormKey(std::string_view text) { Assign(text); }
    FormKey(const char* text) { Assign(text); }
    FormKey& operator=(std::string_view text) {
        Assign(text);
        return *this;
    }
    FormKey& operator=(const char* text) { return *this = std::string_view(text); }

    std::string_view view() const {
        size_t size = 0;
        while (size < sizeof(text_) && text_[size] != 0) ++size;
        return {text_, size};
    }
    bool starts_with(std::string_view prefix) const { return view().starts_with(prefix); }
    friend bool operator==(const FormKey& a, const FormKey& b) {
        return std::equal(std::begin(a.text_), std::end(a.text_), std::begin(b.text_));
    }
    friend bool operator<(const FormKey& a, const FormKey& b) { return a.view() < b.view(); }

  private:
    void Assign(std::string_view text) {
        // Every form is one of the short words above; a longer one is a fault of this file.
        assert(text.size() <= sizeof(text_));
        std::fill(std::begin(text_), std::end(text_), 0);
        std::copy_n(text.data(), std::min(text.size(), sizeof(text_)), text_);
    }

    char text_[8] = {};
};

// No heading number needs more than 32 bits: a larger one reads as no number at all.
static_assert(kMaxHeadingNumber <= INT32_MAX);

struct LineHeading {
    int32_t number = -1;
    FormKey form;  // which run of headings it belongs to
    OutlineEntryKind kind = OutlineEntryKind::kChapter;
    // The heading word (第一章) in the text it was read from: within a heading's line, which is
    // never longer than kMaxHeadingLineBytes.
    uint16_t wordStart = 0;
    uint16_t wordEnd = 0;
};

// A heading word read at the start of a text, what follows it and where it ends.
struct ParsedWord {
    LineHeading heading;
    TailKind tail = TailKind::kNone;
    size_t end = 0;
};

// The headings a line begins with: one, or a volume and its first chapter on one line.
struct LineHeadings {
    LineHeading heading;
    std::optional<int32_t> volume;  // the number of a volume the line names before its chapter
    uint16_t chapterAt = 0;         // where the chapter's part of the line starts then
};

// `head` is a line from its first non-blank byte, without its line break.
std::optional<LineHeadings> HeadingsOfLine(std::string_view head, bool wrapped);

}  // namespace brisna::outline
