#include "gui/DialogControls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

#include "app/ControlIds.h"
#include "gui/CMyListBox.h"
#include "gui/GuiMessages.h"
#include "gui/QtListBox.h"
#include "gui/QtRichEdit.h"

namespace brisna {
namespace {

struct ButtonSpec {
    int id;
    const char* caption;
};

// Every button of the dialog with its caption.
constexpr ButtonSpec kButtons[] = {
    {kMoveUpButton, gui::captions::kMoveUp},
    {kMoveDownButton, gui::captions::kMoveDown},
    {kDeleteButton, gui::captions::kDelete},
    {kAddChapterButton, gui::captions::kAddChapter},
    {kGenerateButton, gui::captions::kGenerate},
    {kOpenTextButton, gui::captions::kOpenText},
    {kOpenQbr2Button, gui::captions::kOpenQbr2},
    {kTestButton, gui::captions::kTest},
    {kSearchButton, gui::captions::kSearch},
    {kOpenQbrButton, gui::captions::kOpenQbr},
    {kKeywordAddButton, gui::captions::kKeywordAdd},
    {kDeleteAllButton, gui::captions::kDeleteAll},
    {kIncrementalAddButton, gui::captions::kIncrementalAdd},
    {kProblemListToggle, gui::captions::kCloseProblemList},
    {kConvertButton, gui::captions::kConvert},
    {kCheckMissingButton, gui::captions::kCheckMissing},
    {kWideDisplayToggle, gui::captions::kWideDisplay},
};

}  // namespace

DialogControls CreateDialogControls(QWidget* parent) {
    DialogControls controls;
    auto& byId = controls.byId;
    // Frames first, so everything they surround is drawn over them.
    for (auto [id, caption] : {std::pair{kChapterListFrame, gui::captions::kChapterListFrame},
                               std::pair{kTextFrame, gui::captions::kTextFrame},
                               std::pair{kProblemListFrame, gui::captions::kProblemListFrame}}) {
        byId[id] = new QGroupBox(QString::fromUtf8(caption), parent);
    }

    controls.chapters = new CMyListBox(parent);
    controls.chapters->SetHorizontalExtent(300);
    byId[kChapterList] = controls.chapters;

    controls.text = new QtRichEdit(parent);
    byId[kBookText] = controls.text;

    controls.problems = new QtListBox(parent);
    controls.problems->SetHorizontalExtent(500);
    byId[kProblemList] = controls.problems;

    for (const ButtonSpec& spec : kButtons) {
        auto* button = new QPushButton(QString::fromUtf8(spec.caption), parent);
        // Enter must never press a button of this window.
        button->setAutoDefault(false);
        button->setDefault(false);
        byId[spec.id] = button;
    }

    byId[kSearchEdit] = new QLineEdit(parent);
    byId[kStartChapterEdit] = new QLineEdit(parent);
    byId[kStartChapterLabel] =
        new QLabel(QString::fromUtf8(gui::captions::kStartChapterLabel), parent);

    controls.problemFilter = new QComboBox(parent);
    controls.problemFilter->setObjectName(QStringLiteral("problemFilter"));
    controls.problemFilter->addItems({QString::fromUtf8(gui::captions::kAllProblems),
                                      QString::fromUtf8(gui::captions::kBlockingProblems),
                                      QString::fromUtf8(gui::captions::kSuspiciousProblems),
                                      QString::fromUtf8(gui::captions::kGarbledProblems),
                                      QString::fromUtf8(gui::captions::kBlankLineProblems)});
    controls.problemFilter->setToolTip(QString::fromUtf8(gui::captions::kProblemFilterTip));

    for (auto& [id, widget] : byId) widget->setObjectName(QStringLiteral("control%1").arg(id));
    return controls;
}

void SetDialogTabOrder(const DialogControls& controls) {
    // Reading order, column by column: the open buttons on top, then the chapter list with its
    // buttons, the text with the rows under it, and the problem list.
    constexpr int kOrder[] = {
        kOpenTextButton, kOpenQbr2Button,     kOpenQbrButton,     kProblemListToggle,
        kChapterList,    kCheckMissingButton, kWideDisplayToggle, kMoveUpButton,
        kMoveDownButton, kDeleteButton,       kDeleteAllButton,   kBookText,
        kSearchEdit,     kSearchButton,       kAddChapterButton,  kConvertButton,
        kTestButton,     kStartChapterEdit,   kKeywordAddButton,  kIncrementalAddButton,
        kGenerateButton, kProblemList,
    };
    QWidget* previous = nullptr;
    for (int id : kOrder) {
        QWidget* widget = controls.byId.at(id);
        widget->setFocusPolicy(Qt::StrongFocus);
        if (previous != nullptr) QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

}  // namespace brisna
