#include "gui/GbkListModel.h"

#include "text/CodePage936.h"

namespace brisna {

int GbkListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count();
}

QVariant GbkListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Count()) return {};
    const Row& row = rows_[static_cast<size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(GbkToUtf8Lossless(row.gbk));
        case kGbkRole:
            return QByteArray(row.gbk.data(), static_cast<qsizetype>(row.gbk.size()));
        case kDataRole:
            return static_cast<qlonglong>(row.data);
        default:
            return {};
    }
}

void GbkListModel::Insert(int32_t row, std::string_view gbk, intptr_t data) {
    beginInsertRows(QModelIndex(), row, row);
    rows_.insert(rows_.begin() + row, Row{std::string(gbk), data});
    endInsertRows();
}

void GbkListModel::Remove(int32_t row) {
    beginRemoveRows(QModelIndex(), row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
}

void GbkListModel::SetItemData(int32_t row, intptr_t data) {
    rows_[static_cast<size_t>(row)].data = data;
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {kDataRole});
}

}  // namespace brisna
