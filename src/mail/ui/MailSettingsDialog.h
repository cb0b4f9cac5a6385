#pragma once
// The dialog "Email Settings": the SMTP server and account, the two
// notification templates with their previews and defaults, and a sample
// e-mail to try it all. It edits a copy of the settings; OK checks the
// fields in order and saves them. The sample goes out on a send thread and
// the dialog stays disabled, but responsive, until its outcome arrives.

#include <QDialog>

#include <optional>
#include <string>

#include "core/IUserInterface.h"
#include "mail/MailCenter.h"
#include "mail/MailSettings.h"
#include "mail/MailSettingsValidation.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace mail_ui {

class CMailTemplatePage;

class CMailSettingsDialog : public QDialog {
    Q_OBJECT
public:
    CMailSettingsDialog(mail::CMailCenter& mail, core::IUserInterface& ui,
                        QWidget* parent = nullptr);

    // The settings as the controls show them now; the port is the default
    // when its box holds no valid number.
    mail::MailSettings EditedSettings() const;
    // A sample e-mail is on its way.
    bool IsSendingSample() const { return sending_; }

public slots:
    void accept() override;
    void reject() override;

private:
    QWidget* BuildServerGroup();
    QWidget* BuildTemplateGroup();
    QWidget* BuildSampleRow();
    void LoadControls(const mail::MailSettings& settings);
    void UpdateAuthEnabling();
    CMailTemplatePage* SelectedPage() const;
    // Shows the problem and moves the focus to its control (selecting the
    // template's tab first).
    void ShowProblem(const mail::MailSettingsProblem& problem);
    QWidget* ControlOf(mail::MailSettingsField field);
    void Preview();
    void ResetTemplate();
    void SendSample();
    void OnSampleSent(const std::string& error);

    mail::CMailCenter& mail_;
    core::IUserInterface& ui_;
    // The copy being edited: what the controls do not show stays as it was.
    mail::MailSettings edited_;
    QLineEdit* server_ = nullptr;
    QComboBox* port_ = nullptr;
    QLineEdit* mailFrom_ = nullptr;
    QCheckBox* useSsl_ = nullptr;
    QCheckBox* requiresAuth_ = nullptr;
    QLineEdit* accountName_ = nullptr;
    QLineEdit* password_ = nullptr;
    QTabWidget* templates_ = nullptr;
    CMailTemplatePage* highlightPage_ = nullptr;
    CMailTemplatePage* stopPage_ = nullptr;
    QLineEdit* sampleAddress_ = nullptr;
    QLabel* status_ = nullptr;
    bool sending_ = false;
};

}  // namespace mail_ui
