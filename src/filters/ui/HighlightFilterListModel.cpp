#include "filters/ui/HighlightFilterListModel.h"

#include <QColor>

#include <algorithm>
#include <functional>

#include "filters/HighlightEditMarks.h"
#include "view/ColorRef.h"

namespace filters_ui {

CHighlightFilterListModel::CHighlightFilterListModel(std::vector<filters::HighlightFilterEdit> rows,
                                                     QObject* parent)
    : QAbstractListModel(parent), rows_(std::move(rows)) {}

int CHighlightFilterListModel::Append(filters::HighlightFilterEdit row) {
    const int at = static_cast<int>(rows_.size());
    beginInsertRows({}, at, at);
    rows_.push_back(std::move(row));
    endInsertRows();
    return at;
}

bool CHighlightFilterListModel::Remove(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    bool reload = false;
    for (int row : rows) {
        if (row < 0 || row >= rowCount()) continue;
        beginRemoveRows({}, row, row);
        filters::NoteHighlightRemoval(rows_[row], reload);
        removed_.push_back(std::move(rows_[row]));
        rows_.erase(rows_.begin() + row);
        endRemoveRows();
    }
    return reload;
}

bool CHighlightFilterListModel::RemoveAll() {
    std::vector<int> all(rows_.size());
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
    return Remove(std::move(all));
}

void CHighlightFilterListModel::SwapWithNext(int row) {
    if (row < 0 || row + 1 >= rowCount()) return;
    std::swap(rows_[row], rows_[row + 1]);
    RowChanged(row);
    RowChanged(row + 1);
}

void CHighlightFilterListModel::RowChanged(int row) {
    emit dataChanged(index(row), index(row));
}

std::vector<filters::HighlightFilterEdit> CHighlightFilterListModel::AllRows() const {
    std::vector<filters::HighlightFilterEdit> all = rows_;
    all.insert(all.end(), removed_.begin(), removed_.end());
    return all;
}

int CHighlightFilterListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant CHighlightFilterListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const filters::HighlightFilter& filter = rows_[index.row()].filter;
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdU16String(filter.phrase.text);
        case Qt::CheckStateRole:
            return filter.Enable ? Qt::Checked : Qt::Unchecked;
        case Qt::ForegroundRole:
            return view::ToQColor(filter.TextColor);
        case Qt::BackgroundRole:
            return view::ToQColor(filter.BkgColor);
        default:
            return {};
    }
}

QVariant CHighlightFilterListModel::headerData(int section, Qt::Orientation orientation,
                                               int role) const {
    if (section != 0 || orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return QStringLiteral("Filters");
}

Qt::ItemFlags CHighlightFilterListModel::flags(const QModelIndex& index) const {
    return QAbstractListModel::flags(index) | Qt::ItemIsUserCheckable;
}

bool CHighlightFilterListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid()) return false;
    emit enableClicked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

}  // namespace filters_ui
