#include "gui/CMyListBox.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>

#include "app/ControlIds.h"
#include "gui/GuiMessages.h"

namespace brisna {

QString ChapterRowText(int row, const QString& title) {
    return QStringLiteral("%1. ").arg(row + 1, 2, 10, QLatin1Char('0')) + title;
}

void ChapterRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    const bool flagged = index.data(QtListBox::kDataRole).toLongLong() != 0;
    painter->save();
    QColor background = option.palette.color(QPalette::Base);
    if (selected) {
        background = SelectedRowColor();
    } else if (flagged) {
        background = FlaggedRowColor();
    }
    painter->fillRect(option.rect, background);

    QFont font = option.font;
    QColor textColor = option.palette.color(QPalette::Text);
    if (flagged) {
        // A flagged row stays bold red even while selected, so the fault is never hidden.
        font.setWeight(QFont::Bold);
        textColor = FlaggedTextColor();
    }
    painter->setFont(font);
    painter->setPen(textColor);
    painter->setClipRect(option.rect);
    painter->drawText(option.rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      ChapterRowText(index.row(), index.data(Qt::DisplayRole).toString()));
    painter->restore();
}

QSize ChapterRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    QSize size = ExtentDelegate::sizeHint(option, index);
    QFont bold = option.font;
    bold.setWeight(QFont::Bold);
    const QString text = ChapterRowText(index.row(), index.data(Qt::DisplayRole).toString());
    size.setWidth(std::max(size.width(), QFontMetrics(bold).horizontalAdvance(text) + 4));
    return size;
}

CMyListBox::CMyListBox(QWidget* parent) : QtListBox(parent), menu_(new QMenu(this)) {
    setItemDelegate(new ChapterRowDelegate(this));
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);  // drops are delivered to the viewport
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    EnableRowDrags();
    struct Entry {
        const char* text;
        uint32_t message;
    };
    for (const Entry& entry :
         {Entry{gui::captions::kMoveUp, kMsgMoveUp}, Entry{gui::captions::kMoveDown, kMsgMoveDown},
          Entry{gui::captions::kDelete, kMsgDelete},
          Entry{gui::captions::kDeleteAll, kMsgDeleteAll}}) {
        QAction* action = menu_->addAction(QString::fromUtf8(entry.text));
        const uint32_t message = entry.message;
        connect(action, &QAction::triggered, this, [this, message] {
            if (onUserMessage) onUserMessage(message);
        });
    }
}

void CMyListBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier) {
        if (onRenameRequest && GetCaretIndex() >= 0) onRenameRequest(GetCaretIndex());
        return;
    }
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        if (onDeleteKey) onDeleteKey();
        return;
    }
    QtListBox::keyPressEvent(event);
}

int32_t CMyListBox::DropRowAt(const QPoint& point) const {
    const int32_t row = RowAt(point);
    if (row < 0) return GetCount();
    const QRect rect = visualRect(RowIndex(row));
    return point.y() >= rect.center().y() ? row + 1 : row;
}

void CMyListBox::startDrag(Qt::DropActions) {
    const int32_t row = GetCaretIndex();
    if (row < 0) return;
    auto* data = new QMimeData;
    data->setData(DragMimeType(), DragData(row));
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    // The drop moves the chapter through its command; whatever the drag reports after, the
    // list's rows are the command's alone.
    drag->exec(Qt::MoveAction);
}

QByteArray CMyListBox::DragData(int32_t row) {
    // The process goes with the row: a chapter dragged from another window of the program is
    // not one of this list's.
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' + QByteArray::number(row);
}

int32_t CMyListBox::DraggedRow(const QMimeData* data) {
    if (data == nullptr || !data->hasFormat(DragMimeType())) return -1;
    const QList<QByteArray> parts = data->data(DragMimeType()).split(':');
    bool pidOk = false;
    bool rowOk = false;
    if (parts.size() != 2 || parts[0].toLongLong(&pidOk) != QCoreApplication::applicationPid() ||
        !pidOk) {
        return -1;
    }
    const int32_t row = parts[1].toInt(&rowOk);
    return rowOk ? row : -1;
}

void CMyListBox::dragEnterEvent(QDragEnterEvent* event) {
    if (DraggedRow(event->mimeData()) >= 0) {
        event->acceptProposedAction();
    } else {
        event->ignore();  // a book file goes on to the window
    }
}

void CMyListBox::dragMoveEvent(QDragMoveEvent* event) {
    if (DraggedRow(event->mimeData()) >= 0) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void CMyListBox::dropEvent(QDropEvent* event) {
    const int32_t from = DraggedRow(event->mimeData());
    if (from < 0) {
        event->ignore();
        return;
    }
    const int32_t to = DropRowAt(event->position().toPoint());
    // The move is the chapter command's; startDrag takes nothing out afterwards.
    event->acceptProposedAction();
    if (onMoveRequest) onMoveRequest(from, to);
}

void CMyListBox::contextMenuEvent(QContextMenuEvent* event) {
    // The selection stays as it was: the commands act on the rows chosen before the click.
    menu_->exec(event->globalPos());
}

}  // namespace brisna
