#include "filters/ui/InExFilterListModel.h"

#include <QColor>

#include <algorithm>
#include <functional>

namespace filters_ui {

namespace {

const QColor kEnabledText(0, 0, 0);
const QColor kDisabledText(128, 128, 128);
const QColor kIncludeBackground(255, 255, 255);
const QColor kExcludeBackground(238, 238, 238);

QString YesNo(bool on) {
    return on ? QStringLiteral("Yes") : QStringLiteral("No");
}

}  // namespace

CInExFilterListModel::CInExFilterListModel(std::vector<filters::InExFilterRow> rows,
                                           QObject* parent)
    : QAbstractTableModel(parent), rows_(std::move(rows)) {}

void CInExFilterListModel::SetRow(int row, const filters::InExFilterRow& value) {
    rows_.at(row) = value;
    RowChanged(row);
}

int CInExFilterListModel::Append(const filters::InExFilterRow& value) {
    const int row = static_cast<int>(rows_.size());
    beginInsertRows({}, row, row);
    rows_.push_back(value);
    endInsertRows();
    return row;
}

void CInExFilterListModel::Remove(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int row : rows) {
        if (row < 0 || row >= rowCount()) continue;
        beginRemoveRows({}, row, row);
        rows_.erase(rows_.begin() + row);
        endRemoveRows();
    }
}

void CInExFilterListModel::RemoveAll() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void CInExFilterListModel::SwapWithNext(int row) {
    if (row < 0 || row + 1 >= rowCount()) return;
    std::swap(rows_[row], rows_[row + 1]);
    RowChanged(row);
    RowChanged(row + 1);
}

void CInExFilterListModel::SetEnableOfType(bool include, bool enable) {
    for (int row = 0; row < rowCount(); ++row) {
        if (rows_[row].include != include || rows_[row].enable == enable) continue;
        rows_[row].enable = enable;
        RowChanged(row);
    }
}

int CInExFilterListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CInExFilterListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CInExFilterListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const filters::InExFilterRow& row = rows_[index.row()];
    switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
                case kPhrase:
                    return QString::fromStdU16String(row.text);
                case kMatchCase:
                    return YesNo(row.matchCase);
                case kRegularExpression:
                    return YesNo(row.regularExpression);
                case kType:
                    return row.include ? QStringLiteral("Include") : QStringLiteral("Exclude");
            }
            return {};
        case Qt::CheckStateRole:
            if (index.column() != kPhrase) return {};
            return row.enable ? Qt::Checked : Qt::Unchecked;
        case Qt::ForegroundRole:
            return row.enable ? kEnabledText : kDisabledText;
        case Qt::BackgroundRole:
            return row.include ? kIncludeBackground : kExcludeBackground;
        default:
            return {};
    }
}

QVariant CInExFilterListModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case kPhrase:
            return QStringLiteral("Filter");
        case kMatchCase:
            return QStringLiteral("Match Case");
        case kRegularExpression:
            return QStringLiteral("Regular Expression");
        case kType:
            return QStringLiteral("Type");
    }
    return {};
}

Qt::ItemFlags CInExFilterListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == kPhrase) result |= Qt::ItemIsUserCheckable;
    return result;
}

bool CInExFilterListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != kPhrase) return false;
    rows_[index.row()].enable = value.toInt() == Qt::Checked;
    RowChanged(index.row());
    return true;
}

void CInExFilterListModel::RowChanged(int row) {
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
}

}  // namespace filters_ui
