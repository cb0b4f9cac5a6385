#pragma once
// "Set Captured Process ID": capture all processes, or a single one given
// by its process id. The id field is enabled only for a single process; OK
// refuses an id that is empty or beyond 32 bits, so the old one stays.

#include <QDialog>
#include <cstdint>
#include <optional>

#include "core/IUserInterface.h"

class QLineEdit;
class QRadioButton;

namespace capture_ui {

class CCapturedProcessDialog : public QDialog {
    Q_OBJECT
public:
    // ui tells a refused id; without one a box over the dialog does.
    CCapturedProcessDialog(bool allProcesses, std::uint32_t processId,
                           core::IUserInterface* ui = nullptr, QWidget* parent = nullptr);

    bool AllProcesses() const;
    // The id in the field; nullopt when it is empty or beyond 32 bits.
    std::optional<std::uint32_t> ProcessId() const;

    void accept() override;

private:
    void UpdateField();

    core::IUserInterface* ui_;
    QRadioButton* all_ = nullptr;
    QRadioButton* single_ = nullptr;
    QLineEdit* processId_ = nullptr;
};

}  // namespace capture_ui
