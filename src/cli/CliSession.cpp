#include "cli/CliSession.h"

#include <charconv>
#include <filesystem>
#include <ostream>

#include "app/ControlIds.h"
#include "text/CodePage936.h"

namespace brisna::cli {

CliSession::CliSession(std::ostream& out, const std::optional<std::string>& wordsFile) : out_(out) {
    host_.onMessage = [this](const ShownMessage& message) {
        if (holding_) {
            held_.push_back(message.text);
        } else {
            PrintLine(message.text);
        }
    };
    if (wordsFile) {
        dialog_ = std::make_unique<CBrisnaMakeDlg>(view_, chapterList_, problemList_, host_,
                                                   std::filesystem::path(*wordsFile));
    } else {
        dialog_ = std::make_unique<CBrisnaMakeDlg>(view_, chapterList_, problemList_, host_);
    }
}

void CliSession::PrintLine(std::string_view gbk) {
    out_ << GbkToUtf8Lossless(gbk) << '\n';
}

void CliSession::PrintHeldMessages() {
    for (const std::string& text : held_) PrintLine(text);
    held_.clear();
    out_.flush();
}

bool CliSession::OpenText(const std::string& path) {
    size_t before = MessageCount();
    host_.QueueFileChoice(path);
    dialog_->OnCommand(kOpenTextButton);
    return MessageCount() == before;
}

bool CliSession::OpenBook(const std::string& path, bool qbr2) {
    size_t before = MessageCount();
    host_.QueueFileChoice(path);
    dialog_->OnCommand(qbr2 ? kOpenQbr2Button : kOpenQbrButton);
    return MessageCount() == before;
}

bool CliSession::PlaceCaret(int32_t line, int32_t column) {
    if (line < 0 || line >= view_.GetLineCount()) return false;
    int32_t start = view_.LineIndex(line);
    if (start < 0) return false;
    int32_t position = start + (column > 0 ? column : 0);
    view_.SetSelection({position, position});
    return true;
}

bool CliSession::ApplyChapterOption(const ChapterOption& option, std::string& error) {
    size_t before = MessageCount();
    switch (option.kind) {
        case ChapterOption::Kind::kLine: {
            int32_t line = -1;
            const std::string& value = option.value;
            auto [end, status] = std::from_chars(value.data(), value.data() + value.size(), line);
            if (status != std::errc() || end != value.data() + value.size() ||
                !PlaceCaret(line, 0)) {
                error = "--line " + value + ": no such display line (the text has " +
                        std::to_string(view_.GetLineCount()) + ")";
                return false;
            }
            dialog_->OnCommand(kAddChapterButton);
            break;
        }
        case ChapterOption::Kind::kIncremental:
        case ChapterOption::Kind::kKeyword:
            host_.SetFieldText(kStartChapterEdit, Utf8ToGbk(option.value));
            dialog_->OnCommand(option.kind == ChapterOption::Kind::kIncremental
                                   ? kIncrementalAddButton
                                   : kKeywordAddButton);
            break;
    }
    return MessageCount() == before;
}

void CliSession::PrintChapters() {
    ChapterModel& chapters = dialog_->chapters;
    for (uint32_t i = 0; i < chapters.Count(); ++i) {
        const ChapterRecord& record = *chapters.RecordAt(i);
        out_ << record.offset << '\t' << record.length << '\t' << GbkToUtf8Lossless(record.Title())
             << '\n';
    }
}

void CliSession::PrintProblems() {
    for (int32_t i = 0; i < problemList_.GetCount(); ++i) PrintLine(problemList_.GetText(i));
}

}  // namespace brisna::cli
