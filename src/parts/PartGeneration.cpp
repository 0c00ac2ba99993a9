#include "parts/PartGeneration.h"

#include <filesystem>

#include "Capacities.h"
#include "book/Generation.h"
#include "book/GenerationPlan.h"
#include "chapters/ChapterModel.h"
#include "check/ValidationRules.h"
#include "controls/CMyRECtrl.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "text/CodePage936.h"
#include "text/FileNames.h"

namespace brisna {

namespace {

// Passes a part's messages on, but keeps each part's own success message to itself: the run
// ends with one message for all parts.
class PartHost : public DialogHost {
  public:
    explicit PartHost(DialogHost& host) : host_(host), success_(Utf8ToGbk("生成qbr和qbr2成功")) {}
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

GenerationOutcome GeneratePartBook(std::string_view partText,
                                   const std::vector<ChapterRecord>& chapters,
                                   const std::string& sourcePath, DialogHost& host) {
    HeadlessRichEdit view;
    view.SetText(partText);
    CMyRECtrl bookText(view);
    bookText.RebuildLineTable();
    HeadlessListBox list;
    ChapterModel model;
    for (const ChapterRecord& record : chapters) {
        list.AddString(record.Title());
        model.Append(record);
    }
    return GenerateBook(bookText, list, model, host, sourcePath);
}

}  // namespace

std::string PartPlanProblem(PartPlanStatus status) {
    switch (status) {
        case PartPlanStatus::kOk:
            return {};
        case PartPlanStatus::kNoHeadings:
            return Utf8ToGbk("没有找到章节标题，不能分册生成");
        case PartPlanStatus::kOnlyContentsList:
            return Utf8ToGbk("章节标题只出现在目录中，正文没有章节标题，不能分册生成");
        case PartPlanStatus::kFirstNotAtStart:
            return Utf8ToGbk("第一个章节头必须是文件开始");
        case PartPlanStatus::kBadOffsets:
            return Utf8ToGbk("章节偏移错误，不能分册生成");
        case PartPlanStatus::kNameTooLong:
            return Utf8ToGbk("分册文件名无法缩短到15个汉字以内，不能生成QBR");
    }
    return {};
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
        std::string problem = PartPlanProblem(
            plan.status == PartPlanStatus::kOk ? PartPlanStatus::kNoHeadings : plan.status);
        host.ShowMessage(problem, MessageCaption::kNone);
        return outcome;
    }
    WaitCursor wait(host);
    const bool several = plan.parts.size() > 1;
    PartHost partHost(host);
    for (size_t k = 0; k < plan.parts.size(); ++k) {
        if (progress) progress(k, plan.parts.size());
        const PlannedPart& part = plan.parts[k];
        GenerationOutcome written =
            GeneratePartBook(text.substr(part.textOffset, part.textLength), part.RelativeChapters(),
                             part.sourcePath, several ? static_cast<DialogHost&>(partHost) : host);
        outcome.writtenFiles.insert(outcome.writtenFiles.end(), written.writtenFiles.begin(),
                                    written.writtenFiles.end());
        if (!written.succeeded) {
            outcome.failedPart = part.number;
            if (several) {
                host.ShowMessage(FormatGbkMessage("第%d册生成失败", {int64_t{part.number}}),
                                 MessageCaption::kNone);
            }
            return outcome;
        }
    }
    if (progress) progress(plan.parts.size(), plan.parts.size());
    if (several) {
        host.ShowMessage(
            FormatGbkMessage("分册生成成功：共%d册，保存在%s",
                             {int64_t(plan.parts.size()), FileNameToGbk(PartsFolder(plan))}),
            MessageCaption::kPrompt);
    }
    outcome.succeeded = true;
    return outcome;
}

}  // namespace brisna
