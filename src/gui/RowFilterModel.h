#pragma once
// The rows of a GbkListModel that pass a filter, in their order: what a list shows when only
// some kinds of entries are wanted. Without a filter every row passes and nothing is copied,
// so the usual list costs what it did. With one, a vector maps shown rows to the model's rows;
// rows appended or removed at the end (as the commands fill and empty the list) cost nothing more
// than that.

#include <QAbstractListModel>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gui/GbkListModel.h"

namespace brisna {

class RowFilterModel : public QAbstractListModel {
    Q_OBJECT
  public:
    // Sees a row's text and its item data (a problem entry's kind).
    using Filter = std::function<bool(const std::string& gbk, intptr_t data)>;

    explicit RowFilterModel(GbkListModel* source, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // An empty filter shows every row.
    void SetFilter(Filter filter);
    bool Filtered() const { return static_cast<bool>(filter_); }
    // The shown row of a source row, or -1 when it is hidden (or out of range).
    int ShownRow(int sourceRow) const;
    // The source row of a shown row, or -1.
    int SourceRow(int shownRow) const;

    void SetDragEnabled(bool enabled) { dragEnabled_ = enabled; }

  private:
    void Rebuild();

    GbkListModel* source_;
    Filter filter_;
    std::vector<int> rows_;  // source rows shown, ascending; used only with a filter
    bool dragEnabled_ = false;
};

}  // namespace brisna
