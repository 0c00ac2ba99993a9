#include "gui/QtListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

#include "text/CodePage936.h"

namespace brisna {
namespace {

QString DisplayText(std::string_view gbk) {
    return QString::fromStdString(GbkToUtf8Lossless(gbk));
}

// Counts an operation in progress so that Qt's signals during it stay quiet.
class Quiet {
  public:
    explicit Quiet(int& depth) : depth_(depth) { ++depth_; }
    ~Quiet() { --depth_; }

  private:
    int& depth_;
};

}  // namespace

QSize ExtentDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (const auto* list = qobject_cast<const QtListBox*>(parent())) {
        size.setWidth(std::max(size.width(), list->HorizontalExtent()));
    }
    return size;
}

QtListBox::QtListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new ExtentDelegate(this));
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (programmatic_ > 0) return;
        if (inOperatorEvent_) {
            changedDuringEvent_ = true;
        } else {
            NotifySelectionChange();  // a drag over the rows, say
        }
    });
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        // The operator moved the caret (a click or arrow key); keep ours with Qt's.
        if (programmatic_ == 0 && row >= 0) caret_ = row;
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this] {
        if (programmatic_ == 0 && onDoubleClick) onDoubleClick();
    });
}

void QtListBox::NotifySelectionChange() {
    if (onSelectionChange) onSelectionChange();
}

void QtListBox::mousePressEvent(QMouseEvent* event) {
    // The right button never selects in a list box.
    if (event->button() == Qt::RightButton) return;
    // The platform reports every selecting click, even one that leaves the selection as it was.
    inOperatorEvent_ = true;
    changedDuringEvent_ = false;
    QListWidget::mousePressEvent(event);
    inOperatorEvent_ = false;
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()) != nullptr) {
        NotifySelectionChange();
    } else if (changedDuringEvent_) {
        NotifySelectionChange();
    }
}

void QtListBox::keyPressEvent(QKeyEvent* event) {
    inOperatorEvent_ = true;
    changedDuringEvent_ = false;
    QListWidget::keyPressEvent(event);
    inOperatorEvent_ = false;
    if (changedDuringEvent_) {
        NotifySelectionChange();
        // The jump shows the place in the text, but the keys keep walking the list.
        if (!hasFocus()) setFocus(Qt::OtherFocusReason);
    }
}

int32_t QtListBox::GetCount() const {
    return count();
}

int32_t QtListBox::GetCaretIndex() const {
    return count() == 0 ? -1 : caret_;
}

int32_t QtListBox::GetSelCount() const {
    return static_cast<int32_t>(GetSelItems().size());
}

std::vector<int32_t> QtListBox::GetSelItems() const {
    std::vector<int32_t> rows;
    for (int i = 0; i < count(); ++i) {
        if (item(i)->isSelected()) rows.push_back(i);
    }
    return rows;
}

int32_t QtListBox::AddString(std::string_view gbk) {
    return InsertString(-1, gbk);
}

int32_t QtListBox::InsertString(int32_t index, std::string_view gbk) {
    if (index == -1) index = count();
    if (index < 0 || index > count()) return -1;
    Quiet quiet(programmatic_);
    auto* row = new QListWidgetItem(DisplayText(gbk));
    row->setData(kGbkRole, QByteArray(gbk.data(), static_cast<qsizetype>(gbk.size())));
    row->setData(kDataRole, qlonglong{0});
    insertItem(index, row);
    if (caret_ < 0) {
        caret_ = 0;
    } else if (index <= caret_ && count() > 1) {
        ++caret_;
    }
    SetCaret(caret_);
    return index;
}

int32_t QtListBox::DeleteString(int32_t index) {
    if (!InRange(index)) return -1;
    Quiet quiet(programmatic_);
    delete takeItem(index);
    if (count() == 0) {
        caret_ = -1;
    } else if (index < caret_) {
        --caret_;
    } else if (caret_ >= count()) {
        caret_ = count() - 1;
    }
    SetCaret(caret_);
    return count();
}

void QtListBox::SetSel(bool select, int32_t index) {
    Quiet quiet(programmatic_);
    if (index == -1) {
        for (int i = 0; i < count(); ++i) item(i)->setSelected(select);
        return;
    }
    if (!InRange(index)) return;
    item(index)->setSelected(select);
    if (select) {
        caret_ = index;
        SetCaret(caret_);
    }
}

void QtListBox::SetCaret(int32_t index) {
    // Qt's current item is the caret; moving it must not touch the selection.
    if (index < 0) return;
    selectionModel()->setCurrentIndex(model()->index(index, 0), QItemSelectionModel::NoUpdate);
}

std::string QtListBox::GetText(int32_t index) const {
    if (!InRange(index)) return {};
    return item(index)->data(kGbkRole).toByteArray().toStdString();
}

intptr_t QtListBox::GetItemData(int32_t index) const {
    if (!InRange(index)) return 0;
    return static_cast<intptr_t>(item(index)->data(kDataRole).toLongLong());
}

void QtListBox::SetItemData(int32_t index, intptr_t data) {
    if (!InRange(index)) return;
    item(index)->setData(kDataRole, static_cast<qlonglong>(data));
}

void QtListBox::SetFocus() {
    setFocus(Qt::OtherFocusReason);
}

void QtListBox::Invalidate() {
    viewport()->update();
}

void QtListBox::SetHorizontalExtent(int pixels) {
    horizontalExtent_ = pixels;
    doItemsLayout();
}

}  // namespace brisna
