#include "gui/CleanSettingsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include "gui/GuiMessages.h"

namespace brisna {

CleanSettingsPage::CleanSettingsPage(QWidget* parent)
    : SettingsPage(parent), indentWidth_(new QComboBox(this)) {
    const CleanupOptions saved = SavedCleanupDefaults();
    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(QString::fromUtf8(gui::captions::kCleanDefaultsLabel), this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    const std::pair<CleanupPass, bool> passes[] = {
        {CleanupPass::kJunk, saved.removeJunk},
        {CleanupPass::kContents, saved.removeContents},
        {CleanupPass::kNotes, saved.removeNotes},
        {CleanupPass::kUnwrap, saved.joinWrapped},
        {CleanupPass::kIndent, saved.evenIndents},
        {CleanupPass::kBlankLines, saved.squeezeBlankLines},
    };
    for (const auto& [pass, checked] : passes) {
        auto* box = new QCheckBox(CleanupPassCaption(pass), this);
        box->setChecked(checked);
        boxes_[pass] = box;
        if (pass != CleanupPass::kIndent) {
            layout->addWidget(box);
            continue;
        }
        // The width sits beside its pass, as on the dialog.
        FillIndentChoices(indentWidth_, saved.indentChars);
        auto* row = new QHBoxLayout;
        row->addWidget(box);
        row->addWidget(indentWidth_);
        row->addStretch();
        layout->addLayout(row);
    }
    layout->addStretch(1);
}

QString CleanSettingsPage::Title() const {
    return QString::fromUtf8(gui::captions::kCleanTitle);
}

CleanupOptions CleanSettingsPage::Options() const {
    CleanupOptions options;
    options.removeJunk = PassBox(CleanupPass::kJunk)->isChecked();
    options.removeContents = PassBox(CleanupPass::kContents)->isChecked();
    options.removeNotes = PassBox(CleanupPass::kNotes)->isChecked();
    options.joinWrapped = PassBox(CleanupPass::kUnwrap)->isChecked();
    options.evenIndents = PassBox(CleanupPass::kIndent)->isChecked();
    options.indentChars = indentWidth_->currentData().toInt();
    options.squeezeBlankLines = PassBox(CleanupPass::kBlankLines)->isChecked();
    return options;
}

void CleanSettingsPage::Save() {
    SaveCleanupDefaults(Options());
}

}  // namespace brisna
