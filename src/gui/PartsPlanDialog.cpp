#include "gui/PartsPlanDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "book/GenerationPlan.h"
#include "gui/GuiMessages.h"
#include "text/CodePage936.h"

namespace brisna {

namespace {

QString FromGbk(std::string_view gbk) {
    return QString::fromStdString(GbkToUtf8Lossless(gbk));
}

QString SizeText(uint64_t bytes) {
    if (bytes < 1024) return QString::fromUtf8(gui::messages::kBytes).arg(bytes);
    return QStringLiteral("%1 KB").arg((bytes + 1023) / 1024);
}

// The first book file of a part, as it is written.
QString PartFileName(const PlannedPart& part) {
    const QString base = QFile::decodeName(QByteArray::fromStdString(OutputBase(part.sourcePath)));
    return QFileInfo(base).fileName() + QStringLiteral(".qbr2");
}

}  // namespace

PartsPlanDialog::PartsPlanDialog(const PartPlan& plan, CBrisnaMakeDlg::PartsWriter write,
                                 QWidget* parent)
    : QDialog(parent), write_(std::move(write)) {
    setWindowTitle(QString::fromUtf8(gui::captions::kPartsTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8(gui::messages::kPartsPlanSummary)
                                     .arg(plan.ChapterCount())
                                     .arg(plan.parts.size()),
                                 this));
    tree_ = new QTreeWidget(this);
    tree_->setColumnCount(5);
    tree_->setHeaderLabels({QString::fromUtf8(gui::captions::kPartColumn),
                            QString::fromUtf8(gui::captions::kChaptersColumn),
                            QString::fromUtf8(gui::captions::kFirstChapterColumn),
                            QString::fromUtf8(gui::captions::kLastChapterColumn),
                            QString::fromUtf8(gui::captions::kSizeColumn)});
    for (const PlannedPart& part : plan.parts) {
        auto* item = new QTreeWidgetItem(tree_);
        item->setText(0, PartFileName(part));
        item->setText(1, QString::number(part.chapters.size()));
        item->setText(2, FromGbk(part.chapters.front().Title()));
        item->setText(3, FromGbk(part.chapters.back().Title()));
        item->setText(4, SizeText(part.textLength));
        for (const PartLine& line : part.lines) {
            auto* child = new QTreeWidgetItem(item);
            child->setText(0, FromGbk(line.record.Title()));
            if (!line.volume) child->setText(4, SizeText(line.record.length));
        }
    }
    if (tree_->topLevelItemCount() > 0) tree_->topLevelItem(0)->setExpanded(true);
    tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    layout->addWidget(tree_);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, static_cast<int>(plan.parts.size()));
    progress_->setValue(0);
    layout->addWidget(progress_);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8(gui::captions::kOk));
    buttons_->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(gui::captions::kCancel));
    connect(buttons_, &QDialogButtonBox::accepted, this, &PartsPlanDialog::WriteParts);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons_);
    resize(760, 480);
}

void PartsPlanDialog::WriteParts() {
    buttons_->setEnabled(false);
    outcome_ = write_([this](size_t done, size_t total) {
        progress_->setMaximum(static_cast<int>(total));
        progress_->setValue(static_cast<int>(done));
        // The bar moves while the parts are written on this thread.
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    accept();
}

}  // namespace brisna
