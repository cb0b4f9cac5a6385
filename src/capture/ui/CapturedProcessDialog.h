#pragma once
// "Set Captured Process ID": capture all processes, or a single one given
// by its process id. The id field is enabled only for a single process.

#include <QDialog>
#include <cstdint>

class QLineEdit;
class QRadioButton;

namespace capture_ui {

class CCapturedProcessDialog : public QDialog {
    Q_OBJECT
public:
    CCapturedProcessDialog(bool allProcesses, std::uint32_t processId, QWidget* parent = nullptr);

    bool AllProcesses() const;
    // The id in the field; 0 when it is empty.
    std::uint32_t ProcessId() const;

private:
    void UpdateField();

    QRadioButton* all_ = nullptr;
    QRadioButton* single_ = nullptr;
    QLineEdit* processId_ = nullptr;
};

}  // namespace capture_ui
