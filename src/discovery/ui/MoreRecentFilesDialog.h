#pragma once
// "Open More Recent Files": every recent file in list order, several of them
// chosen at once, with the count of entries and of the chosen ones.

#include <QDialog>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace discovery_ui {

class CMoreRecentFilesDialog : public QDialog {
    Q_OBJECT
public:
    explicit CMoreRecentFilesDialog(const std::vector<std::u16string>& entries,
                                    QWidget* parent = nullptr);

    // The chosen paths in list order.
    std::vector<std::u16string> SelectedPaths() const;

    QListWidget* List() const { return list_; }
    // "Total: %d, Selected: %d"
    QString CountsText() const;
    QPushButton* OpenButton() const { return open_; }

private:
    void UpdateCounts();

    QListWidget* list_ = nullptr;
    QLabel* counts_ = nullptr;
    QPushButton* open_ = nullptr;
};

}  // namespace discovery_ui
