#pragma once
// "Stop Updating Notification": whether and after how many quiet seconds an
// e-mail goes out, to whom, the daily span without e-mail, whether a desktop
// notification and a web hook post go with it, and which files are watched. The dialog edits a
// copy; OK checks it, saves it through the application and, when the e-mail settings are not
// complete, offers to set them.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "mail/StopUpdatingEdit.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTreeWidget;

namespace app {
class CTarvikApp;
}

namespace core {
class IUserInterface;
}

namespace mail_ui {

class CStopUpdatingDialog : public QDialog {
    Q_OBJECT
public:
    // The paths chosen in the file-open box (several, existing files only);
    // replaced in tests.
    using PickFiles = std::function<std::vector<std::u16string>(QWidget* parent)>;

    // openMailSettings runs when, after OK, the user agrees to complete the
    // e-mail settings; without it the answer opens nothing.
    CStopUpdatingDialog(app::CTarvikApp& app, core::IUserInterface* ui, QWidget* parent = nullptr,
                        std::function<void()> openMailSettings = {}, PickFiles pickFiles = {});

    // What the controls hold now.
    mail::StopUpdatingEdit Edit() const;

    void AddFiles();
    void RemoveSelectedFiles();
    void accept() override;

private:
    QComboBox* MakeTimeList(const char* name, int count, int value);
    void AppendFile(const std::u16string& path);
    void UpdateEnabling();
    void ShowProblem(const mail::StopUpdatingProblem& problem);

    app::CTarvikApp& app_;
    core::IUserInterface* ui_;
    std::function<void()> openMailSettings_;
    PickFiles pickFiles_;
    QCheckBox* enable_ = nullptr;
    QSpinBox* seconds_ = nullptr;
    QLineEdit* emails_ = nullptr;
    QCheckBox* dontSend_ = nullptr;
    QComboBox* beginHour_ = nullptr;
    QComboBox* beginMinute_ = nullptr;
    QComboBox* endHour_ = nullptr;
    QComboBox* endMinute_ = nullptr;
    QCheckBox* desktopNotice_ = nullptr;
    QCheckBox* postWebHook_ = nullptr;
    QLineEdit* webHookUrl_ = nullptr;
    // Kept as loaded: the dialog has no field for it.
    std::u16string webHookBody_;
    QRadioButton* allFiles_ = nullptr;
    QRadioButton* listedFiles_ = nullptr;
    QTreeWidget* files_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    std::vector<QWidget*> belowEnable_;
};

}  // namespace mail_ui
