#include "gui/CMyListBox.h"

#include <QContextMenuEvent>
#include <QPainter>

#include "app/ControlIds.h"

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
    struct Entry {
        const char* text;
        uint32_t message;
    };
    for (const Entry& entry : {Entry{"上移", kMsgMoveUp}, Entry{"下移", kMsgMoveDown},
                               Entry{"删除", kMsgDelete}, Entry{"全部删除", kMsgDeleteAll}}) {
        QAction* action = menu_->addAction(QString::fromUtf8(entry.text));
        const uint32_t message = entry.message;
        connect(action, &QAction::triggered, this, [this, message] {
            if (onUserMessage) onUserMessage(message);
        });
    }
}

void CMyListBox::contextMenuEvent(QContextMenuEvent* event) {
    // The selection stays as it was: the commands act on the rows chosen before the click.
    menu_->exec(event->globalPos());
}

}  // namespace brisna
