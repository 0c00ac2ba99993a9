// 分册生成: a whole novel written as several books, wired to the dialog.
#include "app/CBrisnaMakeDlg.h"
#include "chapters/ChapterTitle.h"
#include "detect/BookOutline.h"
#include "parts/PartPlan.h"

namespace brisna {

PartPlan CBrisnaMakeDlg::PlanBookParts() {
    RefreshLineTable();
    const std::string text = ReadBookText(bookText.View());
    std::vector<PlanHeading> headings;
    if (const std::vector<TocEntry>* contents = openedContents.For(text, chapters)) {
        // An entry with entries below it is a volume.
        for (size_t i = 0; i < contents->size(); ++i) {
            const TocEntry& entry = (*contents)[i];
            const bool volume = i + 1 < contents->size() && (*contents)[i + 1].level > entry.level;
            headings.push_back({entry.title, entry.offset, volume, false});
        }
        return PlanParts(text, headings, bookSourcePath);
    }
    if (chapters.Count() > 0) {
        for (uint32_t i = 0; i < chapters.Count(); ++i) {
            const ChapterRecord& record = *chapters.RecordAt(i);
            headings.push_back({std::string(record.Title()), record.offset, false});
        }
        return PlanParts(text, headings, bookSourcePath);
    }
    BookOutline outline = BuildBookOutline(text);
    if (!outline.HasHeadings()) {
        PartPlan plan;
        plan.status = outline.contentsEntries > 0 ? PartPlanStatus::kOnlyContentsList
                                                  : PartPlanStatus::kNoHeadings;
        return plan;
    }
    return PlanParts(text, HeadingsOfOutline(outline), bookSourcePath);
}

void CBrisnaMakeDlg::OnGenerateParts() {
    PartPlan plan = PlanBookParts();
    if (plan.status != PartPlanStatus::kOk) {
        host.ShowMessage(PartPlanProblem(plan), MessageCaption::kNone);
        return;
    }
    PartsWriter write = [this, &plan](const PartsProgress& progress) {
        const std::string text = ReadBookText(bookText.View());
        PartsOutcome outcome = GenerateParts(text, plan, host, progress);
        if (outcome.succeeded) MarkChaptersSaved();
        return outcome;
    };
    if (reviewPartsPlan) {
        reviewPartsPlan(plan, write);
    } else {
        write({});
    }
}

}  // namespace brisna
