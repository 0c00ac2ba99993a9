#include "gui/DetectionSettingsPage.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/DetectionSettings.h"
#include "gui/GuiMessages.h"

namespace brisna {

DetectionSettingsPage::DetectionSettingsPage(QWidget* parent)
    : SettingsPage(parent),
      lineStart_(new QCheckBox(QString::fromUtf8(gui::captions::kLineStartOnly), this)) {
    lineStart_->setChecked(LoadHeadingsAtLineStart());
    auto* hint = new QLabel(QString::fromUtf8(gui::captions::kLineStartOnlyHint), this);
    hint->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lineStart_);
    layout->addWidget(hint);
    layout->addStretch(1);
}

QString DetectionSettingsPage::Title() const {
    return QString::fromUtf8(gui::captions::kDetectionPage);
}

void DetectionSettingsPage::Save() {
    SaveHeadingsAtLineStart(lineStart_->isChecked());
}

}  // namespace brisna
