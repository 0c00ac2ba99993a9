#pragma once
// The rows of a list box as the program gave them: GBK bytes and one item-data value per row.
// The display text is made from the bytes only when a row is painted, so a problem list of a
// million findings costs its bytes and nothing more.

#include <QAbstractListModel>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brisna {

class GbkListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    // Where the GBK bytes (QByteArray) and the item data (qlonglong) are read.
    static constexpr int kGbkRole = Qt::UserRole;
    static constexpr int kDataRole = Qt::UserRole + 1;

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    int32_t Count() const { return static_cast<int32_t>(rows_.size()); }
    // Inserts before row (0 <= row <= Count()), with its item data.
    void Insert(int32_t row, std::string_view gbk, intptr_t data = 0);
    void Remove(int32_t row);
    const std::string& Text(int32_t row) const { return rows_[static_cast<size_t>(row)].gbk; }
    intptr_t ItemData(int32_t row) const { return rows_[static_cast<size_t>(row)].data; }
    void SetItemData(int32_t row, intptr_t data);

  private:
    struct Row {
        std::string gbk;
        intptr_t data = 0;
    };
    std::vector<Row> rows_;
};

}  // namespace brisna
