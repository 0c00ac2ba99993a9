#include "gui/PatternHistoryPage.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/GuiMessages.h"
#include "gui/PatternDialog.h"

namespace brisna {
namespace {

QStringList Texts(const QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) texts.append(list->item(row)->text());
    return texts;
}

}  // namespace

PatternHistoryPage::PatternHistoryPage(QWidget* parent)
    : SettingsPage(parent),
      chapters_(new QListWidget(this)),
      volumes_(new QListWidget(this)),
      delete_(new QPushButton(QString::fromUtf8(gui::captions::kDelete), this)),
      clear_(new QPushButton(QString::fromUtf8(gui::captions::kClearAll), this)) {
    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(QString::fromUtf8(gui::captions::kPatternHistoryHint), this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    for (auto [list, volume] : {std::pair{chapters_, false}, std::pair{volumes_, true}}) {
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->addItems(SavedPatternHistory(volume));
        connect(list, &QListWidget::itemSelectionChanged, this, &PatternHistoryPage::UpdateButtons);
        layout->addWidget(new QLabel(volume
                                         ? QString::fromUtf8(gui::captions::kVolumePatternLabel)
                                         : QString::fromUtf8(gui::captions::kChapterPatternLabel),
                                     this));
        layout->addWidget(list);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(delete_);
    buttons->addWidget(clear_);
    layout->addLayout(buttons);
    connect(delete_, &QPushButton::clicked, this, &PatternHistoryPage::DeleteSelected);
    connect(clear_, &QPushButton::clicked, this, &PatternHistoryPage::Clear);
    UpdateButtons();
}

QString PatternHistoryPage::Title() const {
    return QString::fromUtf8(gui::captions::kPatternHistoryPage);
}

void PatternHistoryPage::Save() {
    SavePatternHistory(false, Texts(chapters_));
    SavePatternHistory(true, Texts(volumes_));
}

void PatternHistoryPage::DeleteSelected() {
    for (QListWidget* list : {chapters_, volumes_}) qDeleteAll(list->selectedItems());
    UpdateButtons();
}

void PatternHistoryPage::Clear() {
    chapters_->clear();
    volumes_->clear();
    UpdateButtons();
}

void PatternHistoryPage::UpdateButtons() {
    delete_->setEnabled(!chapters_->selectedItems().isEmpty() ||
                        !volumes_->selectedItems().isEmpty());
    clear_->setEnabled(chapters_->count() > 0 || volumes_->count() > 0);
}

}  // namespace brisna
