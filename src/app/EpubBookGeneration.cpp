#include "app/EpubBookGeneration.h"

#include "Capacities.h"
#include "app/AppMessages.h"
#include "app/CBrisnaMakeDlg.h"
#include "chapters/ChapterTitle.h"
#include "check/ValidationRules.h"
#include "epub/EpubCommands.h"
#include "text/CodePage936.h"

namespace brisna {

namespace {

std::string_view FileNameOf(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool EndsWithEpub(const std::string& path) {
    if (path.size() < 5) return false;
    std::string extension = path.substr(path.size() - 5);
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension == ".epub";
}

}  // namespace

std::optional<PartPlan> PlanOpenedEpubGeneration(CBrisnaMakeDlg& dialog) {
    if (!EndsWithEpub(dialog.openedBookPath) ||
        // The books may be written into another folder, under the same name.
        FileNameOf(dialog.bookSourcePath) !=
            FileNameOf(BookSourcePathOfEpub(dialog.openedBookPath)) ||
        dialog.chapters.Count() == 0) {
        return std::nullopt;
    }
    const std::string text = ReadBookText(dialog.bookText.View());
    if (const std::vector<TocEntry>* contents = dialog.openedContents.For(text, dialog.chapters);
        contents != nullptr && contents->size() > dialog.chapters.Count()) {
        return dialog.PlanBookParts();
    }
    std::vector<PlanHeading> headings;
    for (uint32_t i = 0; i < dialog.chapters.Count(); ++i) {
        const ChapterRecord& record = *dialog.chapters.RecordAt(i);
        headings.push_back({std::string(record.Title()), record.offset, false, false});
    }
    return PlanParts(text, headings, dialog.bookSourcePath);
}

PartsOutcome GenerateOpenedEpub(CBrisnaMakeDlg& dialog, const PartPlan& plan) {
    const std::string text = ReadBookText(dialog.bookText.View());
    if (plan.status == PartPlanStatus::kOk && plan.parts.size() > 1) {
        const std::vector<TocEntry>* contents = dialog.openedContents.For(text, dialog.chapters);
        const size_t entries = contents != nullptr ? contents->size() : plan.ChapterCount();
        dialog.host.ShowMessage(
            FormatGbkMessage(app_messages::kEpubContentsInPartsFormat,
                             {int64_t(entries), int64_t{kMaxChapters}, int64_t(plan.parts.size())}),
            MessageCaption::kPrompt);
    }
    return GenerateParts(text, plan, dialog.host);
}

}  // namespace brisna
