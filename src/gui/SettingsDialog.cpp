#include "gui/SettingsDialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "gui/CleanSettingsPage.h"
#include "gui/DetectionSettingsPage.h"
#include "gui/EpubSettingsPage.h"
#include "gui/GuiMessages.h"
#include "gui/PatternHistoryPage.h"

namespace brisna {
namespace {

template <typename Page>
SettingsPage* Make(QWidget* parent) {
    return new Page(parent);
}

}  // namespace

const std::vector<SettingsPageMaker>& SettingsPageMakers() {
    // One line per page, in tab order.
    static const std::vector<SettingsPageMaker> makers = {
        Make<DetectionSettingsPage>,
        Make<PatternHistoryPage>,
        Make<CleanSettingsPage>,
        Make<EpubSettingsPage>,
    };
    return makers;
}

SettingsDialog::SettingsDialog(QWidget* parent) : QDialog(parent), tabs_(new QTabWidget(this)) {
    setWindowTitle(QString::fromUtf8(gui::captions::kSettingsTitle));
    setObjectName(QStringLiteral("settingsDialog"));
    for (const SettingsPageMaker& make : SettingsPageMakers()) {
        SettingsPage* page = make(tabs_);
        pages_.push_back(page);
        tabs_->addTab(page, page->Title());
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8(gui::captions::kOk));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(gui::captions::kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SettingsDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
    resize(520, 400);
}

SettingsPage* SettingsDialog::Page(const QString& title) const {
    for (SettingsPage* page : pages_) {
        if (page->Title() == title) return page;
    }
    return nullptr;
}

bool SettingsDialog::ShowPage(const QString& title) {
    SettingsPage* page = Page(title);
    if (page == nullptr) return false;
    tabs_->setCurrentWidget(page);
    return true;
}

void SettingsDialog::accept() {
    for (SettingsPage* page : pages_) page->Save();
    QDialog::accept();
}

}  // namespace brisna
