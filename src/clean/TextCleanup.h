#pragma once
// 整理文本: a downloaded book made readable. Site junk and the contents list at the start come
// out, hard-wrapped paragraphs are joined, indents and blank lines are made even. Headings are
// never touched, and no character outside a removed line is lost or moved: the cleaned text is
// the old one with whole lines taken out, line breaks inside paragraphs taken out and the blanks
// at the start of paragraphs and between them changed.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "clean/OffsetMap.h"

namespace brisna {

struct CleanupOptions {
    bool removeJunk = true;         // site notices, chapter-end marks, begging, separators
    bool removeContents = true;     // the 目录 block near the start
    bool removeNotes = false;       // PS：…, 作者有话说: some readers want them
    bool joinWrapped = true;        // only when the book is hard-wrapped
    bool evenIndents = true;        // every paragraph starts with `indentChars` full-width spaces
    int indentChars = 2;            // 0 or 2
    bool squeezeBlankLines = true;  // runs of blank lines shrink to `maxBlankLines`
    int maxBlankLines = 1;          // 0 or 1
    std::vector<std::string> junkPatterns;  // the user's own (GBK), `*` for any run
};

enum class CleanupChangeKind {
    kJunkLine,      // a site notice, mark, plea, separator or a line of the user's patterns
    kContentsLine,  // a line of the 目录 block
    kAuthorNote,
    kJoinedLine,  // a line joined to the one before it
};

struct CleanupChange {
    CleanupChangeKind kind = CleanupChangeKind::kJunkLine;
    int32_t line = 0;   // in the text before the clean-up, counted from 0
    size_t offset = 0;  // where that line starts in the text before the clean-up
    std::string text;   // the line removed or joined (GBK, without its line break)
};

struct CleanupCounts {
    size_t junkLines = 0;
    size_t contentsBlocks = 0;  // 0 or 1
    size_t contentsLines = 0;
    size_t authorNotes = 0;
    size_t joinedLines = 0;
    size_t indentsChanged = 0;
    size_t blankLinesRemoved = 0;
};

struct CleanupResult {
    std::string text;                    // GBK, the line breaks of the text given
    std::vector<CleanupChange> changes;  // removed and joined lines, in text order
    CleanupCounts counts;
    OffsetMap offsets;     // old offsets to new ones
    bool wrapped = false;  // the book was found hard-wrapped
    bool changed = false;  // the text differs from the text given
};

CleanupResult CleanText(std::string_view gbkText, const CleanupOptions& options);

// What was done, as the operator reads it (GBK): "已删除广告等 N 行、目录 1 处，合并断行 M 处".
std::string CleanupReport(const CleanupCounts& counts);

// The name of a kind of change for lists (GBK): 广告, 目录, 作者的话, 合并断行.
std::string CleanupChangeKindName(CleanupChangeKind kind);

}  // namespace brisna
