#include "parts/PartGeneration.h"

#include <filesystem>
#include <optional>

#include "Capacities.h"
#include "book/BookMessages.h"
#include "book/Generation.h"
#include "book/GenerationPlan.h"
#include "chapters/ChapterMessages.h"
#include "chapters/ChapterModel.h"
#include "check/ValidationRules.h"
#include "controls/CMyRECtrl.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "parts/PartMessages.h"
#include "parts/StaleParts.h"
#include "text/CodePage936.h"
#include "text/FileNames.h"

namespace brisna {

namespace msg = part_messages;

namespace {

// Passes a part's messages on, but keeps each part's own success message to itself: the run
// ends with one message for all parts.
class PartHost : public DialogHost {
  public:
    explicit PartHost(DialogHost& host)
        : host_(host), success_(Utf8ToGbk(book_messages::kGenerated)) {}
    void ShowMessage(std::string_view gbkText, MessageCaption caption) override {
        if (gbkText == success_) return;
        host_.ShowMessage(gbkText, caption);
    }
    void ShowFileMessage(std::string_view gbkText, MessageCaption caption, std::string_view path,
                         std::string_view reason) override {
        host_.ShowFileMessage(gbkText, caption, path, reason);
    }
    std::optional<std::string> ChooseFileToOpen(FileFilter) override { return std::nullopt; }
    // The run holds the wait cursor for all parts.
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    std::string GetFieldText(int) override { return {}; }

  private:
    DialogHost& host_;
    std::string success_;
};

// A part's text and chapters as the book generation takes a book.
struct PartBook {
    PartBook(std::string_view partText, const std::vector<ChapterRecord>& records)
        : bookText(view) {
        view.SetText(partText);
        bookText.RebuildLineTable();
        for (const ChapterRecord& record : records) {
            list.AddString(record.Title());
            model.Append(record);
        }
    }
    HeadlessRichEdit view;
    CMyRECtrl bookText;
    HeadlessListBox list;
    ChapterModel model;
};

std::string JoinedNames(const std::vector<std::string>& paths) {
    std::string names;
    for (const std::string& path : paths) {
        if (!names.empty()) names += Utf8ToGbk(msg::kNameSeparator);
        names += FileNameToGbk(std::filesystem::path(path).filename().string());
    }
    return names;
}

}  // namespace

std::string PartPlanProblem(PartPlanStatus status) {
    switch (status) {
        case PartPlanStatus::kOk:
            return {};
        case PartPlanStatus::kNoHeadings:
            return Utf8ToGbk(msg::kNoHeadings);
        case PartPlanStatus::kOnlyContentsList:
            return Utf8ToGbk(msg::kOnlyContentsList);
        case PartPlanStatus::kFirstNotAtStart:
            return Utf8ToGbk(chapter_messages::kFirstNotAtStart);
        case PartPlanStatus::kBadOffsets:
            return Utf8ToGbk(msg::kBadOffsets);
        case PartPlanStatus::kNameTooLong:
            return Utf8ToGbk(msg::kNameTooLong);
        case PartPlanStatus::kPartRefused:
            return Utf8ToGbk(msg::kPartRefused);
    }
    return {};
}

std::string PartPlanProblem(const PartPlan& plan) {
    if (plan.status != PartPlanStatus::kPartRefused) return PartPlanProblem(plan.status);
    return plan.refusal + "\n" +
           FormatGbkMessage(msg::kNothingWrittenFormat, {int64_t{plan.refusedPart}});
}

std::string PartsFolder(const PartPlan& plan) {
    if (plan.parts.empty()) return ".";
    std::filesystem::path folder =
        std::filesystem::path(plan.parts.front().sourcePath).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

std::vector<std::string> PlannedPartPaths(std::string_view text, const PartPlan& plan) {
    std::vector<std::string> paths;
    if (plan.status != PartPlanStatus::kOk) return paths;
    for (const PlannedPart& part : plan.parts) {
        const std::string_view partText = text.substr(part.textOffset, part.textLength);
        const uint32_t length = static_cast<uint32_t>(partText.size());
        std::vector<ChapterRecord> records = part.RelativeChapters();
        if (!ComputeWorkingLengths(records, length)) return {};
        const std::string base = OutputBase(part.sourcePath);
        for (const PlannedFile& file : PlanFiles(CutIntoPieces(partText, records, kQbr2PieceBytes),
                                                 length, kQbr2FileStep, kQbr2SmallRest)) {
            paths.push_back(BookFileName(base, "qbr2", file.number));
        }
        for (const PlannedFile& file : PlanFiles(CutIntoPieces(partText, records, kQbrPieceBytes),
                                                 length, kQbrFileStep, kQbrSmallRest)) {
            paths.push_back(BookFileName(base, "qbr", file.number));
        }
    }
    return paths;
}

PartsOutcome GenerateParts(std::string_view text, const PartPlan& plan, DialogHost& host,
                           const PartsProgress& progress) {
    PartsOutcome outcome;
    if (plan.status != PartPlanStatus::kOk || plan.parts.empty()) {
        PartPlan refused = plan;
        if (refused.status == PartPlanStatus::kOk) refused.status = PartPlanStatus::kNoHeadings;
        host.ShowMessage(PartPlanProblem(refused), MessageCaption::kNone);
        return outcome;
    }
    WaitCursor wait(host);
    const bool several = plan.parts.size() > 1;
    PartHost partHost(host);
    DialogHost& partDialog = several ? static_cast<DialogHost&>(partHost) : host;
    auto fail = [&](const PlannedPart& part) {
        outcome.failedPart = part.number;
        if (several) {
            host.ShowMessage(FormatGbkMessage(msg::kPartFailedFormat, {int64_t{part.number}}),
                             MessageCaption::kNone);
        }
        return outcome;
    };
    // Every part is checked and built before the first file is written: a part that would be
    // refused leaves no part of this edition on the disk.
    std::vector<EncodedBook> built;
    for (size_t k = 0; k < plan.parts.size(); ++k) {
        if (progress) progress(k, plan.parts.size());
        const PlannedPart& part = plan.parts[k];
        PartBook book(text.substr(part.textOffset, part.textLength), part.RelativeChapters());
        std::optional<EncodedBook> encoded =
            PrepareBookFiles(book.bookText, book.list, book.model, partDialog, part.sourcePath,
                             plan.qbrCodes.get(), part.textOffset);
        if (!encoded) return fail(part);
        built.push_back(std::move(*encoded));
    }
    for (size_t k = 0; k < plan.parts.size(); ++k) {
        if (!WriteBookFiles(built[k], partDialog, outcome.writtenFiles)) {
            return fail(plan.parts[k]);
        }
    }
    if (progress) progress(plan.parts.size(), plan.parts.size());
    const std::vector<std::string> removed =
        RemoveStalePartFiles(StalePartFiles(plan.bookSourcePath, outcome.writtenFiles));
    if (several) {
        std::string message = FormatGbkMessage(
            msg::kGeneratedFormat, {int64_t(plan.parts.size()), FileNameToGbk(PartsFolder(plan))});
        if (!removed.empty()) {
            message += FormatGbkMessage(msg::kStaleRemovedAfterFormat,
                                        {int64_t(removed.size()), JoinedNames(removed)});
        }
        host.ShowMessage(message, MessageCaption::kPrompt);
    } else {
        host.ShowMessage(Utf8ToGbk(book_messages::kGenerated), MessageCaption::kPrompt);
        if (!removed.empty()) {
            host.ShowMessage(FormatGbkMessage(msg::kStaleRemovedFormat,
                                              {int64_t(removed.size()), JoinedNames(removed)}),
                             MessageCaption::kPrompt);
        }
    }
    outcome.succeeded = true;
    return outcome;
}

}  // namespace brisna
