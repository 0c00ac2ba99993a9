// An operator at the window with no idea what they are doing: the input is a script of actions
// (open files, edit the text, move the caret, fill the two edit fields, press any button, send
// the chapter list's menu messages, click and double-click list items, resize the window) played
// against the headless dialog. Whatever the order, no command may crash, and after every action
// the chapter list must still mirror the chapter model item for item. The open-file dialog
// answers with files this target writes into its own scratch folder: book texts (raw bytes or
// built from numbered headings), the books that generation wrote, damaged copies of them.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "Capacities.h"
#include "app/CBrisnaMakeDlg.h"
#include "app/ControlIds.h"
#include "app/HeadlessDialogHost.h"
#include "app/WindowFrame.h"
#include "book/GenerationPlan.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "detect/ChineseNumerals.h"
#include "text/CodePage936.h"

namespace {

using namespace brisna;
namespace fs = std::filesystem;

constexpr int kMaxActions = 48;
// Built books stay small enough to keep the target fast; a few chapters may still pass the
// chapter size limit and the piece size, so both paths are reached.
constexpr size_t kMaxBuiltBookBytes = 1 << 20;

// A plain array, so the exit handler below still finds the name after static objects are gone.
char scratchName[] = "/tmp/brisna-operator-fuzz-XXXXXX";

const fs::path& ScratchFolder() {
    static const fs::path folder = [] {
        if (mkdtemp(scratchName) == nullptr) std::abort();
        // libFuzzer leaves through exit() when its time is up: take the folder along.
        std::atexit([] {
            std::error_code error;
            fs::remove_all(scratchName, error);
        });
        fs::path path(scratchName);
        // None of these is in the built books' prose: a word found in every sentence would
        // fill the problem list with tens of thousands of findings and slow every step after.
        std::ofstream(path / "words.csv", std::ios::binary)
            << Utf8ToGbk("可疑\r\n乱码\r\n章\r\n") << "abc\r\n";
        return path;
    }();
    return folder;
}

// Every file of the previous input goes, so each input starts from the same empty folder.
void ClearScratchFolder() {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(ScratchFolder(), error)) {
        if (entry.path().filename() == "words.csv") continue;
        fs::remove_all(entry.path(), error);
    }
}

void WriteFile(const fs::path& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Pieces of GBK text the scripts build texts, headings, fields and problem entries from.
const std::vector<std::string>& Fragments() {
    static const std::vector<std::string> fragments = [] {
        std::vector<std::string> out;
        for (const char* utf8 :
             {"第",     "章",           "节",          "回", "卷",     "第一章", "第1章",
              "第十章", "第一百零一章", "序章",        "　", "１２",   "可疑",   "乱码",
              "他说：", "！",           "。",          "，", "[Line ", "]",      "可疑字",
              "为空行", "章节重复",     "字数超过30K", "“",  "”与“",   "：",     "零",
              "十",     "百",           "千",          "两", "〇"}) {
            out.push_back(Utf8ToGbk(utf8));
        }
        for (const char* bytes : {"\r\n", "\r\n\r\n", "\r", "\n", "1", "99", "-", " ", "\x81\x30",
                                  "\xff\xfe", "\xa3", "\xa3\xa0"}) {
            out.emplace_back(bytes);
        }
        return out;
    }();
    return fragments;
}

std::string FragmentText(FuzzedDataProvider& in, int maxPieces) {
    std::string text;
    int pieces = in.ConsumeIntegralInRange(0, maxPieces);
    for (int i = 0; i < pieces && in.remaining_bytes() > 0; ++i) {
        if (in.ConsumeBool()) {
            text += Fragments()[in.ConsumeIntegralInRange<size_t>(0, Fragments().size() - 1)];
        } else {
            text += std::to_string(in.ConsumeIntegralInRange(-2, 120));
        }
    }
    return text;
}

// A book of numbered chapters, the kind the detection commands are made for: a heading line
// per chapter (Chinese or ASCII numbers, a gap or a repeat here and there) and a body of prose.
std::string BuiltBook(FuzzedDataProvider& in) {
    const bool arabic = in.ConsumeBool();
    const uint32_t first = in.ConsumeIntegralInRange<uint32_t>(0, 120);
    const uint32_t chapters = in.ConsumeIntegralInRange<uint32_t>(0, 110);
    const uint32_t gapAt = in.ConsumeIntegralInRange<uint32_t>(0, 120);
    const size_t bodyBytes = in.PickValueInArray<size_t>({0, 1, 40, 300, 2000, 20000, 35000});
    const bool asciiBody = in.ConsumeBool();
    const std::string title = FragmentText(in, 3);
    const std::string prose =
        asciiBody ? std::string("plain words, ") : Utf8ToGbk("他推开窗，夜色里的长街还亮着灯。");

    // Text before the first heading, if any, stops the first chapter starting the book.
    std::string book = FragmentText(in, 4);
    if (!book.empty()) book += "\r\n";
    uint32_t number = first;
    for (uint32_t i = 0; i < chapters && book.size() < kMaxBuiltBookBytes; ++i, ++number) {
        if (i == gapAt) ++number;
        std::string digits = arabic ? std::to_string(number) : RenderChineseNumber(number);
        book += Utf8ToGbk("第") + digits + Utf8ToGbk("章") + title + "\r\n";
        std::string body;
        while (body.size() < bodyBytes) body += prose;
        body.resize(bodyBytes);
        book += body + "\r\n";
    }
    return book;
}

// The window, headless, with everything an action may need to reach.
struct Window {
    HeadlessRichEdit view;
    HeadlessListBox chapterList;
    HeadlessListBox problemList;
    HeadlessDialogHost host;
    CBrisnaMakeDlg dlg{view, chapterList, problemList, host, ScratchFolder() / "words.csv"};
};

// The first .qbr2 / .qbr file a generation from the current source path writes.
fs::path GeneratedBook(const Window& window, std::string_view extension, int number) {
    return BookFileName(OutputBase(window.dlg.bookSourcePath), extension, number);
}

fs::path TextFileName(FuzzedDataProvider& in) {
    static const char* const names[] = {
        "book.txt",
        "\xe4\xb9\xa6.txt",  // a Chinese name
        "book.TXT",         "a-name-long-enough-to-pass-the-limit-of-book-names.txt", "book",
    };
    return ScratchFolder() / in.PickValueInArray(names);
}

// What the next open-file dialog answers.
std::optional<std::string> FileChoice(FuzzedDataProvider& in, Window& window) {
    const fs::path folder = ScratchFolder();
    switch (in.ConsumeIntegralInRange(0, 9)) {
        case 0:
            return std::nullopt;  // the operator cancels
        case 1:
            return (folder / "missing.txt").string();
        case 2:
            return folder.string();  // a folder, not a file
        case 3: {
            fs::path path = folder / "raw.qbr2";
            WriteFile(path, in.ConsumeRandomLengthString(4096));
            return path.string();
        }
        case 4: {
            fs::path path = folder / "raw.qbr";
            WriteFile(path, in.ConsumeRandomLengthString(4096));
            return path.string();
        }
        case 5:
        case 6: {
            // A generated book, as written or with a few bytes changed.
            const char* extension = in.ConsumeBool() ? "qbr2" : "qbr";
            int number = in.ConsumeIntegralInRange(0, 2);
            fs::path path = GeneratedBook(window, extension, number);
            if (in.ConsumeBool()) {
                std::string bytes = ReadFile(path);
                int changes = in.ConsumeIntegralInRange(1, 8);
                for (int i = 0; i < changes && !bytes.empty(); ++i) {
                    size_t at = in.ConsumeIntegralInRange<size_t>(0, bytes.size() - 1);
                    bytes[at] = static_cast<char>(in.ConsumeIntegral<uint8_t>());
                }
                if (in.ConsumeBool() && !bytes.empty()) {
                    bytes.resize(in.ConsumeIntegralInRange<size_t>(0, bytes.size() - 1));
                }
                path = folder / ("damaged" + path.extension().string());
                WriteFile(path, bytes);
            }
            return path.string();
        }
        case 7: {
            // Files at the size bound (sparse, so cheap to make).
            fs::path path = folder / "huge.txt";
            { std::ofstream touch(path, std::ios::binary); }
            std::error_code error;
            fs::resize_file(path, kMaxTextBytes - in.ConsumeIntegralInRange(0, 1), error);
            return path.string();
        }
        default:
            return window.dlg.bookSourcePath.empty() ? (folder / "book.txt").string()
                                                     : window.dlg.bookSourcePath;
    }
}

void OpenText(FuzzedDataProvider& in, Window& window, bool built) {
    fs::path path = TextFileName(in);
    WriteFile(path, built ? BuiltBook(in) : in.ConsumeRandomLengthString(8192));
    window.host.QueueFileChoice(path.string());
    window.dlg.OnCommand(kOpenTextButton);
}

int32_t Position(FuzzedDataProvider& in, const Window& window) {
    int32_t count = window.view.GetCharCount();
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return -1;
        case 1:
            return count;
        case 2:
            return in.ConsumeIntegralInRange<int32_t>(-5, count + 5);
        default:
            return window.view.LineIndex(in.ConsumeIntegralInRange<int32_t>(0, 40));
    }
}

void ClickItem(FuzzedDataProvider& in, HeadlessListBox& list) {
    int32_t index = in.ConsumeIntegralInRange<int32_t>(-1, list.GetCount());
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:  // a plain click: only this item
            list.SetSel(false, -1);
            list.SetSel(true, index);
            break;
        case 1:  // control-click: toggles the item
            list.SetSel(!list.IsSelected(index), index);
            break;
        case 2:  // shift-click: the range up to the item
            for (int32_t i = std::min(list.GetCaretIndex(), index);
                 i <= std::max(list.GetCaretIndex(), index); ++i) {
                list.SetSel(true, i);
            }
            break;
        default:  // the caret moves, the selection stays
            list.SetCaretIndex(index);
            break;
    }
}

void PlayAction(FuzzedDataProvider& in, Window& window) {
    CBrisnaMakeDlg& dlg = window.dlg;
    switch (in.ConsumeIntegralInRange(0, 15)) {
        case 0:
            OpenText(in, window, false);
            break;
        case 1:
            OpenText(in, window, true);
            break;
        case 2:  // paste over the whole text; no line table rebuild, as in the window
            window.view.SetText(in.ConsumeBool() ? in.ConsumeRandomLengthString(2048)
                                                 : FragmentText(in, 12));
            break;
        case 3: {
            int32_t min = Position(in, window);
            window.view.SetSelection({min, in.ConsumeBool() ? min : Position(in, window)});
            break;
        }
        case 4:  // typing over the selection
            window.view.ReplaceSelection(in.ConsumeBool() ? in.ConsumeRandomLengthString(64)
                                                          : FragmentText(in, 4));
            break;
        case 5:
            window.host.SetFieldText(kSearchField, in.ConsumeBool()
                                                       ? FragmentText(in, 4)
                                                       : in.ConsumeRandomLengthString(80));
            dlg.OnFieldChanged(kSearchEdit);
            break;
        case 6:
            window.host.SetFieldText(kStartChapterField, in.ConsumeBool()
                                                             ? FragmentText(in, 4)
                                                             : in.ConsumeRandomLengthString(80));
            break;
        case 7:
        case 8:  // any id, the unused ones included
            dlg.OnCommand(in.ConsumeIntegralInRange(1000, 1030));
            break;
        case 9:
            dlg.OnUserMessage(in.ConsumeIntegralInRange<uint32_t>(0x1400, 0x1405));
            break;
        case 10:
            ClickItem(in, window.chapterList);
            dlg.OnListSelectionChanged(kChapterList);
            break;
        case 11:
            ClickItem(in, window.problemList);
            if (in.ConsumeBool()) {
                dlg.OnListSelectionChanged(kProblemList);
            } else {
                dlg.OnListDoubleClicked(kProblemList);
            }
            break;
        case 12:  // an entry of the operator's own making, as the navigation sees it
            window.problemList.AddString(FragmentText(in, 8));
            break;
        case 13: {
            // Very narrow windows only over short texts: a long text wrapped at a column or two
            // turns into hundreds of thousands of short lines, one finding each, which makes
            // every later step slow without reaching anything new.
            int32_t columns = in.PickValueInArray({0, 1, 2, 3, 7, 40});
            if (columns < 7 && window.view.GetCharCount() > 20000) columns = 0;
            window.view.SetWrapColumns(columns);
            OnWindowSized(dlg, in.ConsumeBool());
            break;
        }
        case 14:
            window.host.QueueFileChoice(FileChoice(in, window));
            break;
        default:
            window.view.ScrollLines(in.ConsumeIntegralInRange(-50, 50));
            break;
    }
}

// The chapter list mirrors the model, item for item; the commands leave no wait cursor behind.
void CheckWindow(const Window& window) {
    const CBrisnaMakeDlg& dlg = window.dlg;
    const uint32_t count = dlg.chapters.Count();
    if (count > kMaxChapters) std::abort();
    if (window.chapterList.GetCount() != static_cast<int32_t>(count)) std::abort();
    for (uint32_t i = 0; i < count; ++i) {
        const ChapterRecord* record = dlg.chapters.RecordAt(i);
        if (record == nullptr) std::abort();
        if (window.chapterList.GetText(static_cast<int32_t>(i)) != record->Title()) std::abort();
    }
    if (window.host.WaitDepth() != 0) std::abort();
    int32_t caret = window.chapterList.GetCaretIndex();
    if (caret < -1 || caret >= static_cast<int32_t>(count) || (count > 0 && caret < 0)) {
        std::abort();
    }
    CharRange selection = window.view.GetSelection();
    int32_t chars = window.view.GetCharCount();
    if (selection.min < 0 || selection.max > chars || selection.min > selection.max) std::abort();
}

// With BRISNA_OPERATOR_TRACE set, each step prints what the window shows afterwards, which is
// how a crashing script is read back.
void TraceWindow(int action, const Window& window, size_t messagesBefore) {
    std::printf("%2d: chapters %u, problems %d, chars %d, source '%s'\n", action,
                window.dlg.chapters.Count(), window.problemList.GetCount(),
                window.view.GetCharCount(), window.dlg.bookSourcePath.c_str());
    const auto& messages = window.host.Messages();
    for (size_t i = messagesBefore; i < messages.size(); ++i) {
        std::printf("    message: %s\n", GbkToUtf8Lossless(messages[i].text).c_str());
    }
    std::fflush(stdout);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool trace = std::getenv("BRISNA_OPERATOR_TRACE") != nullptr;
    ClearScratchFolder();
    FuzzedDataProvider in(data, size);
    Window window;
    for (int action = 0; action < kMaxActions && in.remaining_bytes() > 0; ++action) {
        size_t messagesBefore = window.host.Messages().size();
        PlayAction(in, window);
        if (trace) TraceWindow(action, window, messagesBefore);
        CheckWindow(window);
    }
    return 0;
}
