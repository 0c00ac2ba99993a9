#include "gui/RowFilterModel.h"

#include <algorithm>

namespace brisna {

RowFilterModel::RowFilterModel(GbkListModel* source, QObject* parent)
    : QAbstractListModel(parent), source_(source) {
    connect(source_, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex&, int first, int last) {
                if (!filter_) beginInsertRows(QModelIndex(), first, last);
            });
    connect(source_, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                if (!filter_) {
                    endInsertRows();
                    return;
                }
                const int added = last - first + 1;
                const auto from = std::lower_bound(rows_.begin(), rows_.end(), first);
                for (auto it = from; it != rows_.end(); ++it) *it += added;
                std::vector<int> shown;
                for (int row = first; row <= last; ++row) {
                    if (filter_(source_->Text(row), source_->ItemData(row))) shown.push_back(row);
                }
                if (shown.empty()) return;
                const int at = static_cast<int>(from - rows_.begin());
                beginInsertRows(QModelIndex(), at, at + static_cast<int>(shown.size()) - 1);
                rows_.insert(rows_.begin() + at, shown.begin(), shown.end());
                endInsertRows();
            });
    connect(source_, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) {
                if (!filter_) {
                    beginRemoveRows(QModelIndex(), first, last);
                    return;
                }
                const auto from = std::lower_bound(rows_.begin(), rows_.end(), first);
                const auto to = std::upper_bound(from, rows_.end(), last);
                if (from == to) return;
                const int at = static_cast<int>(from - rows_.begin());
                beginRemoveRows(QModelIndex(), at, at + static_cast<int>(to - from) - 1);
                rows_.erase(from, to);
                endRemoveRows();
            });
    connect(source_, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) {
                if (!filter_) {
                    endRemoveRows();
                    return;
                }
                const int removed = last - first + 1;
                for (auto it = std::lower_bound(rows_.begin(), rows_.end(), first);
                     it != rows_.end(); ++it) {
                    *it -= removed;
                }
            });
    connect(source_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight,
                   const QList<int>& roles) {
                const int top = ShownRow(topLeft.row());
                const int bottom = ShownRow(bottomRight.row());
                if (top < 0 || bottom < 0) {
                    if (filter_) {  // rows' texts never change; this is for safety
                        beginResetModel();
                        Rebuild();
                        endResetModel();
                    }
                    return;
                }
                emit dataChanged(index(top), index(bottom), roles);
            });
    connect(source_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(source_, &QAbstractItemModel::modelReset, this, [this] {
        if (filter_) {
            rows_.clear();
            for (int row = 0; row < source_->Count(); ++row) {
                if (filter_(source_->Text(row), source_->ItemData(row))) rows_.push_back(row);
            }
        }
        endResetModel();
    });
}

int RowFilterModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return filter_ ? static_cast<int>(rows_.size()) : source_->Count();
}

QVariant RowFilterModel::data(const QModelIndex& index, int role) const {
    const int row = index.isValid() ? SourceRow(index.row()) : -1;
    if (row < 0) return {};
    return source_->data(source_->index(row), role);
}

Qt::ItemFlags RowFilterModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractListModel::flags(index);
    if (index.isValid() && dragEnabled_) flags |= Qt::ItemIsDragEnabled;
    return flags;
}

void RowFilterModel::SetFilter(Filter filter) {
    beginResetModel();
    filter_ = std::move(filter);
    Rebuild();
    endResetModel();
}

void RowFilterModel::Rebuild() {
    rows_.clear();
    if (!filter_) return;
    for (int row = 0; row < source_->Count(); ++row) {
        if (filter_(source_->Text(row), source_->ItemData(row))) rows_.push_back(row);
    }
}

int RowFilterModel::ShownRow(int sourceRow) const {
    if (sourceRow < 0 || sourceRow >= source_->Count()) return -1;
    if (!filter_) return sourceRow;
    const auto it = std::lower_bound(rows_.begin(), rows_.end(), sourceRow);
    return it != rows_.end() && *it == sourceRow ? static_cast<int>(it - rows_.begin()) : -1;
}

int RowFilterModel::SourceRow(int shownRow) const {
    if (shownRow < 0 || shownRow >= rowCount()) return -1;
    return filter_ ? rows_[static_cast<size_t>(shownRow)] : shownRow;
}

}  // namespace brisna
