#pragma once
// A list box of the window (extended selection, a view over GbkListModel) implementing the
// program's list operations with the platform's caret rules. Item strings are kept as the GBK bytes
// the program gave, and shown through the lossless conversion. The problem list is one of these as
// it is; the chapter list adds its own drawing and menu (CMyListBox).
//
// Notifications reach the dialog only for the operator's actions, as on the platform: a click or
// key that selects gives a selection change, a double click gives a double click. Changes made
// through the operations below notify nothing.

#include <QListView>
#include <QStyledItemDelegate>
#include <functional>

#include "controls/ListBox.h"
#include "gui/GbkListModel.h"
#include "gui/RowFilterModel.h"

namespace brisna {

// Rows at least as wide as the list's horizontal extent, so the scroll bar reaches that far.
class ExtentDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

class QtListBox : public QListView, public ListBox {
    Q_OBJECT
  public:
    explicit QtListBox(QWidget* parent = nullptr);

    int32_t GetCount() const override;
    int32_t GetCaretIndex() const override;
    int32_t GetSelCount() const override;
    std::vector<int32_t> GetSelItems() const override;
    int32_t AddString(std::string_view gbk) override;
    int32_t InsertString(int32_t index, std::string_view gbk) override;
    int32_t AddItem(std::string_view gbk, intptr_t data) override;
    int32_t DeleteString(int32_t index) override;
    void SetSel(bool select, int32_t index) override;
    std::string GetText(int32_t index) const override;
    intptr_t GetItemData(int32_t index) const override;
    void SetItemData(int32_t index, intptr_t data) override;
    void SetFocus() override;
    void Invalidate() override;

    // The horizontal extent the rows can be scrolled over, in pixels.
    void SetHorizontalExtent(int pixels);
    int HorizontalExtent() const { return horizontalExtent_; }

    std::function<void()> onSelectionChange;  // LBN_SELCHANGE
    std::function<void()> onDoubleClick;      // LBN_DBLCLK

    // Where the GBK string and the item data live in each row.
    static constexpr int kGbkRole = GbkListModel::kGbkRole;
    static constexpr int kDataRole = GbkListModel::kDataRole;

    // The view's index of a row (for painting and tests); invalid while the filter hides it.
    QModelIndex RowIndex(int32_t row) const { return shown_->index(shown_->ShownRow(row)); }

    // Shows only the rows whose GBK text passes (an empty filter shows all). The operations
    // above still count every row; hidden rows cannot be selected and keep no selection.
    void SetRowFilter(RowFilterModel::Filter filter);
    int32_t ShownCount() const { return shown_->rowCount(); }
    // The whole text of the row at a viewport point when the list cuts it off (its tooltip);
    // empty when it fits or there is no row.
    QString CutRowTextAt(const QPoint& viewportPoint) const;
    // The row whose item is at a point of the viewport, or -1.
    int32_t RowAt(const QPoint& viewportPoint) const;

  protected:
    // Lets the operator drag rows (the dropping side is the subclass's).
    void EnableRowDrags() { shown_->SetDragEnabled(true); }
    bool viewportEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool InRange(int32_t index) const { return index >= 0 && index < rows_->Count(); }
    int32_t InsertRow(int32_t index, std::string_view gbk, intptr_t data);
    void SetCaret(int32_t index);
    void NotifySelectionChange();

    GbkListModel* rows_;
    RowFilterModel* shown_;
    int32_t caret_ = -1;
    int programmatic_ = 0;  // > 0 while an operation changes the list
    bool inOperatorEvent_ = false;
    bool changedDuringEvent_ = false;
    int horizontalExtent_ = 0;
};

}  // namespace brisna
