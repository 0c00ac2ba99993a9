#include "gui/DetectionSettingsPage.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/DetectionSettings.h"

namespace brisna {

DetectionSettingsPage::DetectionSettingsPage(QWidget* parent)
    : SettingsPage(parent), lineStart_(new QCheckBox(QStringLiteral("仅匹配行首"), this)) {
    lineStart_->setChecked(LoadHeadingsAtLineStart());
    auto* hint = new QLabel(
        QStringLiteral("模糊添加章节和递增添加章节只认一行开头的章节名，正文里提到的章节名不算。"),
        this);
    hint->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lineStart_);
    layout->addWidget(hint);
    layout->addStretch(1);
}

QString DetectionSettingsPage::Title() const {
    return QStringLiteral("识别章节");
}

void DetectionSettingsPage::Save() {
    SaveHeadingsAtLineStart(lineStart_->isChecked());
}

}  // namespace brisna
