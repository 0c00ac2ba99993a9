#include "detect/MissingChapterCheck.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "controls/ProblemEntryKind.h"
#include "detect/DetectMessages.h"
#include "detect/HeadingParser.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna {

namespace msg = detect_messages;

namespace {

bool HasNoPrefixOrSuffix(const HeadingParts& parts) {
    return parts.Prefix().empty() && parts.Suffix().empty();
}

std::string StemWithNumber(HeadingParts parts, uint32_t number) {
    parts.number = static_cast<int32_t>(number);
    return HeadingStem(parts);
}

class MissingChapterWriter {
  public:
    explicit MissingChapterWriter(ListBox& problemList)
        : problemList_(problemList),
          missing_(Utf8ToGbk(msg::kMissingStart)),
          exclamation_(Utf8ToGbk(msg::kMissingEnd)) {}

    // Appends "缺少<group><stem>！"; false once the entry limit is reached.
    bool Add(std::string_view group, std::string_view stem) {
        if (written_ >= kMaxMissingChapterEntries) return false;
        std::string entry = missing_;
        entry.append(group).append(stem).append(exclamation_);
        AddProblemEntry(problemList_, ProblemKind::kOther, entry);
        ++written_;
        return true;
    }

  private:
    ListBox& problemList_;
    std::string missing_;
    std::string exclamation_;
    size_t written_ = 0;
};

}  // namespace

void CheckMissingChapters(const ChapterModel& chapters, ListBox& problemList) {
    DeleteAllItems(problemList);

    MissingChapterWriter writer(problemList);
    std::string group;      // the group heading G
    int32_t previous = -1;  // the previous number P; -1: none yet

    for (uint32_t i = 0; i < chapters.Count(); ++i) {
        const ChapterRecord* record = chapters.RecordAt(i);
        if (record == nullptr) break;
        const std::string_view title = record->Title();

        // A title inside the current group: compare its number with the previous one.
        size_t groupAt = GbkFind(title, group);
        if (groupAt != std::string_view::npos) {
            HeadingParts parts = ParseHeading(title.substr(groupAt + group.size()));
            if (!parts.Prefix().empty() || parts.number == 0) {
                uint32_t number = static_cast<uint32_t>(parts.number);
                if (previous != -1 && parts.number != 1 &&
                    static_cast<int64_t>(parts.number) - previous != 1) {
                    // Unsigned, so a smaller number or a repeat writes nothing.
                    for (uint32_t k = static_cast<uint32_t>(previous) + 1; k < number; ++k) {
                        if (!writer.Add(group, StemWithNumber(parts, k))) break;
                    }
                }
                previous = parts.number;
                continue;
            }
        }

        // Otherwise the title starts a new group or moves the current one on.
        HeadingParts titleParts = ParseHeading(title);
        if (HasNoPrefixOrSuffix(titleParts)) {
            group.assign(title);
            previous = -1;
            continue;
        }
        HeadingParts groupParts = ParseHeading(group);
        if (HasNoPrefixOrSuffix(groupParts) || titleParts.Prefix() != groupParts.Prefix()) {
            group = HeadingStem(titleParts);
            previous = -1;
            continue;
        }
        uint32_t titleNumber = static_cast<uint32_t>(titleParts.number);
        uint32_t groupNumber = static_cast<uint32_t>(groupParts.number);
        if (groupNumber > titleNumber) {
            for (uint32_t k = titleNumber + 1; k < groupNumber; ++k) {
                if (!writer.Add({}, StemWithNumber(groupParts, k))) break;
            }
            uint32_t next = groupNumber < static_cast<uint32_t>(std::numeric_limits<int32_t>::max())
                                ? groupNumber + 1
                                : groupNumber;
            group = StemWithNumber(groupParts, next);
            continue;
        }
        // Move the group on until it occurs in the title; the bound keeps a title that no
        // group number matches from running on.
        while (GbkFind(title, group) == std::string_view::npos) {
            if (groupParts.number == std::numeric_limits<int32_t>::max()) break;
            ++groupParts.number;
            group = HeadingStem(groupParts);
            if (groupParts.number > 999) break;
        }
    }
}

}  // namespace brisna
