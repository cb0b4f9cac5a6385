#pragma once
// The rows of the include/exclude dialog as a list control shows them: the
// phrase with a check box for Enable, "Yes"/"No" for the two switches and the
// type; enabled rows in black, disabled ones in grey; include rows on white,
// exclude rows on light grey.

#include <QAbstractTableModel>

#include <vector>

#include "filters/InExFilterRows.h"

namespace filters_ui {

class CInExFilterListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kPhrase, kMatchCase, kRegularExpression, kType, kColumnCount };

    explicit CInExFilterListModel(std::vector<filters::InExFilterRow> rows,
                                  QObject* parent = nullptr);

    const std::vector<filters::InExFilterRow>& Rows() const { return rows_; }
    const filters::InExFilterRow& Row(int row) const { return rows_.at(row); }
    void SetRow(int row, const filters::InExFilterRow& value);
    // Gives the new row's number.
    int Append(const filters::InExFilterRow& value);
    // Removes the rows with these numbers, in any order.
    void Remove(std::vector<int> rows);
    void RemoveAll();
    // Swaps the row with its neighbour below.
    void SwapWithNext(int row);
    // Sets Enable on every row of one type.
    void SetEnableOfType(bool include, bool enable);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    void RowChanged(int row);

    std::vector<filters::InExFilterRow> rows_;
};

}  // namespace filters_ui
