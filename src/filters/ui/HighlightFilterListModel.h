#pragma once
// The rows of the highlight filter dialog still in the list, as its one
// column "Filters" shows them: the phrase in the filter's own colours with a
// check box for Enable. Removed rows are kept aside until OK, since their
// notifications may have to be released.

#include <QAbstractListModel>

#include <vector>

#include "filters/HighlightFilterTakeOver.h"

namespace filters_ui {

class CHighlightFilterListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit CHighlightFilterListModel(std::vector<filters::HighlightFilterEdit> rows,
                                       QObject* parent = nullptr);

    const std::vector<filters::HighlightFilterEdit>& Rows() const { return rows_; }
    std::vector<filters::HighlightFilterEdit>& Rows() { return rows_; }
    filters::HighlightFilterEdit& Row(int row) { return rows_.at(row); }
    const filters::HighlightFilterEdit& Row(int row) const { return rows_.at(row); }
    // The rows taken out of the list, marked removed.
    const std::vector<filters::HighlightFilterEdit>& Removed() const { return removed_; }

    // Gives the new row's number.
    int Append(filters::HighlightFilterEdit row);
    // Marks the rows removed and takes them out of the list; true when one of
    // them showed its phrase as other text.
    bool Remove(std::vector<int> rows);
    bool RemoveAll();
    void SwapWithNext(int row);
    // Repaints a row after its filter was edited.
    void RowChanged(int row);

    // Every row shown and removed, for the application's take-over.
    std::vector<filters::HighlightFilterEdit> AllRows() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A tick in the list goes through the dialog, which marks the change.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void enableClicked(int row, bool enable);

private:
    std::vector<filters::HighlightFilterEdit> rows_;
    std::vector<filters::HighlightFilterEdit> removed_;
};

}  // namespace filters_ui
