#include "gui/EpubSettingsPage.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "gui/EpubSettings.h"
#include "gui/EpubSettingsDialog.h"
#include "gui/GuiMessages.h"

namespace brisna {

EpubSettingsPage::EpubSettingsPage(QWidget* parent)
    : SettingsPage(parent), controls_(new EpubSettingsDialog(SavedEpubChoices(), this)) {
    // The dialog's form as a plain child; the 设置 dialog's own 确定 and 取消 serve it.
    controls_->setWindowFlags(Qt::Widget);
    if (auto* buttons = controls_->findChild<QDialogButtonBox*>()) buttons->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(controls_);
}

QString EpubSettingsPage::Title() const {
    return QString::fromUtf8(gui::captions::kEpubPage);
}

void EpubSettingsPage::Save() {
    SaveEpubChoices(controls_->Choices());
}

}  // namespace brisna
