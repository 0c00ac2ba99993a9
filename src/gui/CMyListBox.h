#pragma once
// The chapter list: every row drawn as "NN. title", selected rows on light blue, rows the test
// command flagged (item data not 0) in bold red on yellow, and no focus rectangle. Its right-button
// menu sends the dialog the four list messages without touching the selection.

#include <QMenu>
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

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    QMenu* menu_;
};

}  // namespace brisna
