#include "detect/AutomaticAdd.h"

#include <limits>

#include "Capacities.h"
#include "detect/DetectMessages.h"
#include "detect/HeadingOccurrences.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna {

namespace msg = detect_messages;

namespace detection {

std::optional<AddStart> BeginAutomaticAdd(RichEdit& view, DialogHost& host,
                                          int32_t& detectionScanPosition, bool atLineStart) {
    return BeginAutomaticAdd(host.GetFieldText(kStartChapterField), view, host,
                             detectionScanPosition, atLineStart);
}

std::optional<AddStart> BeginAutomaticAdd(std::string heading, RichEdit& view, DialogHost& host,
                                          int32_t& detectionScanPosition, bool atLineStart) {
    heading.resize(UpToNul(heading).size());
    if (heading.empty()) {
        host.ShowMessage(Utf8ToGbk(msg::kEnterKeyword), MessageCaption::kPrompt);
        return std::nullopt;
    }
    std::string text = ReadBookText(view);
    size_t occurrence = FindHeading(text, heading, detectionScanPosition, atLineStart);
    if (occurrence == std::string::npos) {
        detectionScanPosition = 0;
        host.ShowMessage(Utf8ToGbk(msg::kKeywordNotFound), MessageCaption::kPrompt);
        return std::nullopt;
    }
    return AddStart{std::move(heading), std::move(text), occurrence};
}

size_t FindBytes(std::string_view text, std::string_view needle, int64_t from) {
    if (from < 0 || static_cast<uint64_t>(from) > text.size()) return std::string_view::npos;
    return FindBytesFast(text, needle, static_cast<size_t>(from));
}

int32_t PositionAfter(size_t occurrence, size_t length) {
    uint64_t end = static_cast<uint64_t>(occurrence) + length;
    constexpr uint64_t kMax = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(end < kMax ? end : kMax);
}

bool AdvanceNumber(HeadingParts& parts) {
    if (parts.number == std::numeric_limits<int32_t>::max()) return false;
    ++parts.number;
    return true;
}

}  // namespace detection

}  // namespace brisna
