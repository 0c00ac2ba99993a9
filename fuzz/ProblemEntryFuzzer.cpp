// Any bytes as a problem-list entry: the parsers only hand back parts of the entry, and both
// list notifications handle it over a small book without failing, whatever it claims.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "check/ProblemNavigation.h"
#include "controls/HeadlessRichEdit.h"
#include "text/CodePage936.h"

namespace {

bool InsideOf(std::string_view part, std::string_view whole) {
    return part.data() >= whole.data() && part.size() <= whole.size() &&
           part.data() + part.size() <= whole.data() + whole.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brisna;
    if (size > 4096) return 0;
    std::string_view entry(reinterpret_cast<const char*>(data), size);

    if (std::optional<int32_t> line = EntryLineNumber(entry); line && *line < 0) std::abort();
    for (auto part : {EntryPayload(entry), EntryDuplicateTitle(entry), EntryOverlongTitle(entry)}) {
        if (part && !InsideOf(*part, entry)) std::abort();
    }

    // A short book whose third chapter runs past the size limit, wrapped into display lines.
    static const std::string book = Utf8ToGbk("第一章 起\r\n甲乙\r\n\r\n第二章 承\r\n") +
                                    std::string(31000, 'x') + Utf8ToGbk("\r\n第三章 转\r\n");
    static HeadlessRichEdit view(80);
    static CMyRECtrl bookText = [] {
        view.SetText(book);
        CMyRECtrl table(view);
        table.RebuildLineTable();
        return table;
    }();
    // Drop the highlighting of earlier inputs (it would pile up) and start from the top.
    if (!view.HighlightedRanges().empty()) view.SetText(book);
    view.SetSelection({0, 0});
    std::vector<std::string> words;
    if (std::optional<std::string_view> word = EntryPayload(entry)) words.emplace_back(*word);

    ShowProblemOnSelection(entry, bookText, words);
    ShowProblemOnDoubleClick(entry, bookText);
    return 0;
}
