#include "cli/ScriptRunner.h"

#include <charconv>
#include <optional>
#include <ostream>
#include <vector>

#include "app/ControlIds.h"
#include "cli/CliMessages.h"
#include "cli/ControlNames.h"
#include "cli/Output.h"
#include "text/CodePage936.h"

namespace brisna::cli {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return text;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

// The next blank-separated word; the rest stays in `text` with its separator removed.
std::string_view NextWord(std::string_view& text) {
    text = TrimLeft(text);
    size_t end = 0;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    std::string_view word = text.substr(0, end);
    text.remove_prefix(end);
    return word;
}

template <typename Integer>
bool ParseInt(std::string_view word, Integer& value) {
    if (word.empty()) return false;
    auto [end, status] = std::from_chars(word.data(), word.data() + word.size(), value);
    return status == std::errc() && end == word.data() + word.size();
}

// Every remaining word as a number; false when one is not.
bool ParseInts(std::string_view rest, std::vector<int32_t>& values) {
    for (std::string_view word = NextWord(rest); !word.empty(); word = NextWord(rest)) {
        int32_t value = 0;
        if (!ParseInt(word, value)) return false;
        values.push_back(value);
    }
    return true;
}

std::string Joined(const std::vector<int32_t>& values) {
    std::string out;
    for (int32_t value : values) {
        out += ' ';
        out += std::to_string(value);
    }
    return out;
}

}  // namespace

int ScriptRunner::Run(std::string_view script, std::string_view name, std::ostream& errors) {
    int number = 0;
    while (!script.empty()) {
        size_t end = script.find('\n');
        std::string_view line = script.substr(0, end);
        script.remove_prefix(end == std::string_view::npos ? script.size() : end + 1);
        ++number;
        std::string error;
        if (!RunLine(line, error)) {
            out_.flush();
            errors << name << ':' << number << ": " << EscapeLineBreaks(error) << '\n';
            return 2;
        }
    }
    out_.flush();
    return 0;
}

void ScriptRunner::AnswerNextDialog(const std::string& path) {
    if (cancelNextDialog_) {
        cancelNextDialog_ = false;
        session_.Host().QueueFileChoice(std::nullopt);
    } else {
        session_.Host().QueueFileChoice(path);
    }
}

bool ScriptRunner::RunLine(std::string_view line, std::string& error) {
    std::string_view rest = TrimRight(line);
    std::string_view action = NextWord(rest);
    if (action.empty() || action.front() == '#') return true;
    CBrisnaMakeDlg& dialog = session_.Dialog();

    if (action == "open-txt" || action == "open-qbr2" || action == "open-qbr" ||
        action == "open-epub") {
        std::string path(TrimLeft(rest));
        if (path.empty()) {
            error = messages::ScriptActionNeedsPath(action);
            return false;
        }
        AnswerNextDialog(path);
        // A book text may be an EPUB, as everywhere a book text is read.
        const bool epub = action == "open-epub" || (action == "open-txt" && IsEpubPath(path));
        dialog.OnCommand(epub                    ? kOpenEpubCommand
                         : action == "open-txt"  ? kOpenTextButton
                         : action == "open-qbr2" ? kOpenQbr2Button
                                                 : kOpenQbrButton);
        return true;
    }
    if (action == "cancel-next-dialog") {
        cancelNextDialog_ = true;
        return true;
    }
    if (action == "caret") {
        std::vector<int32_t> values;
        if (!ParseInts(rest, values) || values.empty() || values.size() > 2) {
            error = messages::kScriptCaretNeedsLine;
            return false;
        }
        // A column past the end of the text stops at the end.
        if (!session_.PlaceCaret(values[0], values.size() > 1 ? values[1] : 0)) {
            error = messages::ScriptNoDisplayLine(values[0]);
            return false;
        }
        return true;
    }
    if (action == "select") {
        std::vector<int32_t> values;
        if (!ParseInts(rest, values) || values.size() != 2) {
            error = messages::kScriptSelectNeedsRange;
            return false;
        }
        session_.View().SetSelection({values[0], values[1]});
        return true;
    }
    if (action == "type") {
        std::optional<int> id = LookUpControl(FieldNames(), NextWord(rest), false);
        if (!id) {
            error = messages::kScriptTypeNeedsField;
            return false;
        }
        // One blank separates the id from the text; anything after it belongs to the text.
        if (!rest.empty()) rest.remove_prefix(1);
        session_.Host().SetFieldText(*id, Utf8ToGbk(rest));
        if (*id == kSearchEdit) dialog.OnFieldChanged(kSearchEdit);
        return true;
    }
    if (action == "press") {
        std::optional<int> id = LookUpControl(ButtonNames(), NextWord(rest), true);
        if (!id || !TrimLeft(rest).empty()) {
            error = messages::kScriptPressNeedsButton;
            return false;
        }
        if (*id == kOpenTextButton || *id == kOpenQbr2Button || *id == kOpenQbrButton) {
            // No path given: the dialog is cancelled, whether or not that was asked for.
            cancelNextDialog_ = false;
        }
        dialog.OnCommand(*id);
        return true;
    }
    return RunListAction(action, rest, error);
}

bool ScriptRunner::RunListAction(std::string_view action, std::string_view rest,
                                 std::string& error) {
    CBrisnaMakeDlg& dialog = session_.Dialog();
    if (action == "menu") {
        std::optional<int> id = LookUpControl(MenuNames(), NextWord(rest), false);
        if (!id || !TrimLeft(rest).empty()) {
            error = messages::kScriptMenuItems;
            return false;
        }
        uint32_t message = *id == kMoveUpButton     ? kMsgMoveUp
                           : *id == kMoveDownButton ? kMsgMoveDown
                           : *id == kDeleteButton   ? kMsgDelete
                                                    : kMsgDeleteAll;
        dialog.OnUserMessage(message);
        return true;
    }
    if (action == "select-chapters") {
        std::vector<int32_t> values;
        if (!ParseInts(rest, values)) {
            error = messages::kScriptSelectChaptersNeedsIndexes;
            return false;
        }
        session_.ChapterList().SetSel(false, -1);
        for (int32_t index : values) session_.ChapterList().SetSel(true, index);
        dialog.OnListSelectionChanged(kChapterList);
        return true;
    }
    if (action == "select-problem" || action == "dblclick-problem") {
        std::vector<int32_t> values;
        if (!ParseInts(rest, values) || values.size() != 1) {
            error = messages::ScriptActionNeedsOneIndex(action);
            return false;
        }
        session_.ProblemList().SetSel(false, -1);
        session_.ProblemList().SetSel(true, values[0]);
        if (action == "select-problem") {
            dialog.OnListSelectionChanged(kProblemList);
        } else {
            dialog.OnListDoubleClicked(kProblemList);
        }
        return true;
    }
    if (action == "print") {
        std::string_view what = NextWord(rest);
        if (!TrimLeft(rest).empty()) what = {};
        if (what != "chapters" && what != "problems" && what != "marks" && what != "selection" &&
            what != "text" && what != "scan") {
            error = messages::kScriptPrintNeedsWhat;
            return false;
        }
        Print(what);
        return true;
    }
    error = messages::ScriptUnknownAction(action);
    return false;
}

void ScriptRunner::Print(std::string_view what) {
    std::ostream& out = out_;
    auto emit = [&out](const std::string& line) { out << line << '\n'; };
    if (what == "chapters") {
        session_.ForEachChapterLine(emit);
    } else if (what == "problems") {
        session_.ForEachProblemLine(emit);
    } else if (what == "marks") {
        HeadlessListBox& list = session_.ChapterList();
        for (int32_t i = 0; i < list.GetCount(); ++i) {
            out << i << '\t' << list.GetItemData(i) << '\t'
                << EscapeLineBreaks(GbkToUtf8Lossless(list.GetText(i))) << '\n';
        }
    } else if (what == "selection") {
        CharRange range = session_.View().GetSelection();
        out << "text " << range.min << ' ' << range.max << '\n';
        out << "chapters " << session_.ChapterList().GetCaretIndex()
            << Joined(session_.ChapterList().GetSelItems()) << '\n';
        out << "problems " << session_.ProblemList().GetCaretIndex()
            << Joined(session_.ProblemList().GetSelItems()) << '\n';
    } else if (what == "text") {
        out << GbkToUtf8Lossless(session_.View().GetText()) << '\n';
    } else if (what == "scan") {
        out << session_.Dialog().detectionScanPosition << '\n';
    }
}

}  // namespace brisna::cli
