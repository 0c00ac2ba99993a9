#include "gui/QtListBox.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>

#include "text/CodePage936.h"

namespace brisna {
namespace {

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

QtListBox::QtListBox(QWidget* parent)
    : QListView(parent), rows_(new GbkListModel(this)), shown_(new RowFilterModel(rows_, this)) {
    setModel(shown_);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Every row is one line: the view never measures rows one by one, whatever their number.
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new ExtentDelegate(this));
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (programmatic_ > 0) return;
        if (inOperatorEvent_) {
            changedDuringEvent_ = true;
        } else {
            NotifySelectionChange();  // a drag over the rows, say
        }
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                // The operator moved the caret (a click or arrow key); keep ours with Qt's.
                if (programmatic_ == 0 && current.isValid()) {
                    caret_ = shown_->SourceRow(current.row());
                }
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
    QListView::mousePressEvent(event);
    inOperatorEvent_ = false;
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid()) {
        NotifySelectionChange();
    } else if (changedDuringEvent_) {
        NotifySelectionChange();
    }
}

void QtListBox::keyPressEvent(QKeyEvent* event) {
    inOperatorEvent_ = true;
    changedDuringEvent_ = false;
    QListView::keyPressEvent(event);
    inOperatorEvent_ = false;
    if (changedDuringEvent_) {
        NotifySelectionChange();
        // The jump shows the place in the text, but the keys keep walking the list.
        if (!hasFocus()) setFocus(Qt::OtherFocusReason);
    }
}

int32_t QtListBox::GetCount() const {
    return rows_->Count();
}

int32_t QtListBox::GetCaretIndex() const {
    return rows_->Count() == 0 ? -1 : caret_;
}

int32_t QtListBox::GetSelCount() const {
    return static_cast<int32_t>(GetSelItems().size());
}

std::vector<int32_t> QtListBox::GetSelItems() const {
    std::vector<int32_t> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            const int source = shown_->SourceRow(row);
            if (source >= 0) rows.push_back(source);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int32_t QtListBox::AddString(std::string_view gbk) {
    return InsertString(-1, gbk);
}

int32_t QtListBox::InsertString(int32_t index, std::string_view gbk) {
    return InsertRow(index, gbk, 0);
}

int32_t QtListBox::AddItem(std::string_view gbk, intptr_t data) {
    return InsertRow(-1, gbk, data);
}

int32_t QtListBox::InsertRow(int32_t index, std::string_view gbk, intptr_t data) {
    const int32_t count = rows_->Count();
    if (index == -1) index = count;
    if (index < 0 || index > count) return -1;
    Quiet quiet(programmatic_);
    rows_->Insert(index, gbk, data);
    if (caret_ < 0) {
        caret_ = 0;
    } else if (index <= caret_ && count > 0) {
        ++caret_;
    }
    SetCaret(caret_);
    return index;
}

int32_t QtListBox::DeleteString(int32_t index) {
    if (!InRange(index)) return -1;
    Quiet quiet(programmatic_);
    rows_->Remove(index);
    const int32_t count = rows_->Count();
    if (count == 0) {
        caret_ = -1;
    } else if (index < caret_) {
        --caret_;
    } else if (caret_ >= count) {
        caret_ = count - 1;
    }
    SetCaret(caret_);
    return count;
}

void QtListBox::SetSel(bool select, int32_t index) {
    Quiet quiet(programmatic_);
    const auto flags = select ? QItemSelectionModel::Select : QItemSelectionModel::Deselect;
    if (index == -1) {
        if (shown_->rowCount() == 0) return;
        selectionModel()->select(
            QItemSelection(shown_->index(0), shown_->index(shown_->rowCount() - 1)), flags);
        return;
    }
    if (!InRange(index)) return;
    if (const QModelIndex shown = RowIndex(index); shown.isValid()) {
        selectionModel()->select(shown, flags);
    }
    if (select) {
        caret_ = index;
        SetCaret(caret_);
    }
}

void QtListBox::SetCaret(int32_t index) {
    // Qt's current index is the caret; moving it must not touch the selection.
    if (index < 0) return;
    const QModelIndex target = RowIndex(index);
    if (!target.isValid()) return;  // hidden by the filter: the caret is kept as a row number
    if (selectionModel()->currentIndex() != target) {
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
    }
}

std::string QtListBox::GetText(int32_t index) const {
    if (!InRange(index)) return {};
    return rows_->Text(index);
}

intptr_t QtListBox::GetItemData(int32_t index) const {
    if (!InRange(index)) return 0;
    return rows_->ItemData(index);
}

void QtListBox::SetItemData(int32_t index, intptr_t data) {
    if (!InRange(index)) return;
    rows_->SetItemData(index, data);
}

void QtListBox::SetFocus() {
    setFocus(Qt::OtherFocusReason);
}

void QtListBox::Invalidate() {
    viewport()->update();
}

void QtListBox::SetRowFilter(RowFilterModel::Filter filter) {
    Quiet quiet(programmatic_);
    // The reset drops Qt's selection; the rows still shown keep theirs.
    const std::vector<int32_t> selected = GetSelItems();
    shown_->SetFilter(std::move(filter));
    for (int32_t row : selected) {
        if (const QModelIndex shown = RowIndex(row); shown.isValid()) {
            selectionModel()->select(shown, QItemSelectionModel::Select);
        }
    }
    SetCaret(caret_);
}

int32_t QtListBox::RowAt(const QPoint& viewportPoint) const {
    const QModelIndex index = indexAt(viewportPoint);
    return index.isValid() ? shown_->SourceRow(index.row()) : -1;
}

QString QtListBox::CutRowTextAt(const QPoint& viewportPoint) const {
    const QModelIndex index = indexAt(viewportPoint);
    if (!index.isValid()) return {};
    const QString text = index.data(Qt::DisplayRole).toString();
    const int right = visualRect(index).left() + fontMetrics().horizontalAdvance(text) + 8;
    return right > viewport()->width() ? text : QString();
}

bool QtListBox::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // A row cut off at the list's edge shows its whole text.
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = CutRowTextAt(help->pos());
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, viewport());
        }
        return true;
    }
    return QListView::viewportEvent(event);
}

void QtListBox::SetHorizontalExtent(int pixels) {
    horizontalExtent_ = pixels;
    doItemsLayout();
}

}  // namespace brisna
