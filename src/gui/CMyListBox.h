#pragma once
// The chapter list: every row drawn as "NN. title", selected rows on light blue, rows the test
// command flagged (item data not 0) in bold red on yellow, and no focus rectangle. Its right-button
// menu sends the dialog the four list messages without touching the selection.

#include <QMenu>
#include <QMimeData>
#include <cstdint>
#include <functional>

#include "gui/QtListBox.h"

namespace brisna {

// The row painter of the chapter list.
class ChapterRowDelegate : public ExtentDelegate {
    Q_OBJECT
  public:
    using ExtentDelegate::ExtentDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static QColor SelectedRowColor() { return QColor(192, 192, 255); }
    static QColor FlaggedRowColor() { return QColor(255, 255, 0); }
    static QColor FlaggedTextColor() { return QColor(255, 0, 0); }
};

// "01. " for the first row, "10. " for the tenth, "100. " from the hundredth on.
QString ChapterRowText(int row, const QString& title);

class CMyListBox : public QtListBox {
    Q_OBJECT
  public:
    explicit CMyListBox(QWidget* parent = nullptr);

    // Receives 0x1401 .. 0x1404 from the menu, synchronously, before the menu handler returns.
    std::function<void(uint32_t message)> onUserMessage;

    // The menu the right button shows (for tests that choose from it).
    QMenu* ContextMenu() const { return menu_; }

    // The contents editor: F2 or a double-click asks to rename the caret item, Delete to delete
    // the selected items, and a row dragged within the list to move it (from, to: `to` is the
    // row it is dropped before, the item count for the end).
    std::function<void(int32_t row)> onRenameRequest;
    std::function<void()> onDeleteKey;
    std::function<void(int32_t from, int32_t to)> onMoveRequest;

    // Where a drop at this viewport point puts a dragged row (the row it goes before).
    int32_t DropRowAt(const QPoint& viewportPoint) const;
    // The MIME type a dragged chapter travels as, and its data: "process id:row".
    static QString DragMimeType() { return QStringLiteral("application/x-brisnamake-chapter"); }
    static QByteArray DragData(int32_t row);
    // The row a drag carries, or -1 when it is not a chapter of this program's list.
    static int32_t DraggedRow(const QMimeData* data);

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    QMenu* menu_;
};

}  // namespace brisna
