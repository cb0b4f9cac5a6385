#pragma once
// "Save All As": the open documents in a list the user orders and thins out
// before they are saved into one file, and the two options of that file.

#include <QDialog>
#include <QString>
#include <vector>

class QCheckBox;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace exporting_ui {

struct SaveAllRow {
    QString file;
    QString size;
    // Which document the row stands for; handed back as it came.
    const void* key = nullptr;
};

class CSaveAllAsDialog : public QDialog {
    Q_OBJECT
public:
    CSaveAllAsDialog(std::vector<SaveAllRow> rows, bool writeFilePath, int blankLines,
                     QWidget* parent = nullptr);

    // The documents left, in row order.
    std::vector<const void*> Keys() const;
    bool WriteFilePath() const;
    int BlankLines() const;

private:
    void FillRows();
    void MoveUp();
    void MoveDown();
    void RemoveSelected();
    void UpdateButtons();
    // Takes the row out and puts it back at another index, still selected.
    void MoveRow(int from, int to);
    std::vector<int> SelectedRows() const;

    std::vector<SaveAllRow> rows_;
    QTreeWidget* list_ = nullptr;
    QCheckBox* writeFilePath_ = nullptr;
    QSpinBox* blankLines_ = nullptr;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* save_ = nullptr;
};

}  // namespace exporting_ui
