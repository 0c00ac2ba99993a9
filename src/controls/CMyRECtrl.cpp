#include "controls/CMyRECtrl.h"

#include <algorithm>

#include "Capacities.h"
#include "text/GbkText.h"

namespace brisna {

bool CMyRECtrl::RebuildIfStale() {
    if (!IsStale()) return false;
    RebuildLineTable();
    return true;
}

void CMyRECtrl::RebuildLineTable() {
    if (revisionSource_) builtRevision_ = revisionSource_();
    lineStarts_.clear();
    text_ = view_.GetText();
    std::string& text = text_;
    // The window text is fetched into a buffer of the text bound; what lies beyond it (only
    // possible after editing by hand) gets no lines.
    const bool cut = text.size() > kMaxTextBytes - 1;
    if (cut) text.resize(kMaxTextBytes - 1);
    const size_t size = text.size();

    const int32_t lineCount = view_.GetLineCount();
    lineStarts_.reserve(static_cast<size_t>(std::max(lineCount, 1)));
    size_t cursor = 0;
    for (int32_t line = 0; line < lineCount; ++line) {
        if (cut && line > 0 && cursor >= size) break;
        // A display line takes the bytes of its characters, plus CR LF when it ends a paragraph
        // (the line fetch reports the paragraph mark as one CR).
        std::string fetched = view_.GetLine(line);
        size_t bytes = fetched.size();
        if (!fetched.empty() && fetched.back() == '\r') ++bytes;
        size_t next = std::min(cursor + bytes, size);
        lineStarts_.push_back(static_cast<uint32_t>(cursor));
        cursor = next;
    }
    if (lineStarts_.empty()) lineStarts_.push_back(0);
}

std::string_view CMyRECtrl::LineText(size_t line) const {
    if (line >= lineStarts_.size()) return {};
    const size_t start = lineStarts_[line];
    const size_t end = line + 1 < lineStarts_.size() ? lineStarts_[line + 1] : text_.size();
    return std::string_view(text_).substr(start, end - start);
}

std::vector<std::string> CMyRECtrl::LineTexts() const {
    std::vector<std::string> texts;
    texts.reserve(lineStarts_.size());
    for (size_t line = 0; line < lineStarts_.size(); ++line) texts.emplace_back(LineText(line));
    return texts;
}

std::optional<uint32_t> CMyRECtrl::LineStartOffset(int32_t line) const {
    if (line < 0 || static_cast<size_t>(line) >= lineStarts_.size()) return std::nullopt;
    return lineStarts_[static_cast<size_t>(line)];
}

int32_t CMyRECtrl::LineOfOffset(uint32_t offset) const {
    // The starts ascend, so the first equal entry is the one a scan from the top would find.
    auto found = std::lower_bound(lineStarts_.begin(), lineStarts_.end(), offset);
    if (found == lineStarts_.end() || *found != offset) return 0;
    return static_cast<int32_t>(found - lineStarts_.begin());
}

int32_t CMyRECtrl::LineContainingOffset(int32_t offset) const {
    if (offset <= 0 || lineStarts_.empty()) return 0;
    const uint32_t wanted = static_cast<uint32_t>(offset);
    auto found = std::lower_bound(lineStarts_.begin(), lineStarts_.end(), wanted);
    if (found == lineStarts_.end()) return static_cast<int32_t>(lineStarts_.size()) - 1;
    int32_t index = static_cast<int32_t>(found - lineStarts_.begin());
    return *found == wanted ? index : index - 1;
}

int32_t CMyRECtrl::NextShortLine(int32_t line) const {
    const int64_t count = static_cast<int64_t>(lineStarts_.size());
    for (int64_t i = std::max<int64_t>(int64_t{line} + 1, 0); i < count; ++i) {
        if (LineText(static_cast<size_t>(i)).size() < 3) return static_cast<int32_t>(i);
    }
    return -1;
}

int32_t CMyRECtrl::FirstLineContaining(std::string_view gbk) const {
    gbk = UpToNul(gbk);
    for (size_t i = 0; i < lineStarts_.size(); ++i) {
        if (GbkContains(LineText(i), gbk)) return static_cast<int32_t>(i);
    }
    return 0;
}

}  // namespace brisna
