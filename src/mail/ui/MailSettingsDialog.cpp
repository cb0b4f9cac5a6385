#include "mail/ui/MailSettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <utility>

#include "mail/MailSample.h"
#include "mail/ui/MailTemplatePage.h"
#include "platform/CodePage.h"
#include "view/DialogParts.h"

namespace mail_ui {

namespace {

using mail::MailSettingsField;

constexpr std::u16string_view kSendingStatus = u"Sending sample email, please wait...";
constexpr std::u16string_view kSampleSent = u"The sample email was sent successfully.";
constexpr std::u16string_view kSampleFailed = u"Failed to send the sample email.\n\nError: ";

QString ToQString(std::u16string_view text) {
    return QString::fromStdU16String(std::u16string(text));
}

QLineEdit* Edit(const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QLabel* Label(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

CMailSettingsDialog::CMailSettingsDialog(mail::CMailCenter& mail, core::IUserInterface& ui,
                                         QWidget* parent)
    : QDialog(parent),
      mail_(mail),
      ui_(ui),
      edited_(mail::MailSettingsForEditing(mail.Settings())) {
    setWindowTitle(tr("Email Settings"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("Status"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildServerGroup());
    layout->addWidget(BuildTemplateGroup(), 1);
    layout->addWidget(BuildSampleRow());
    layout->addWidget(status_);
    layout->addWidget(buttons);

    LoadControls(edited_);
    server_->setFocus();
    resize(660, 600);
}

QWidget* CMailSettingsDialog::BuildServerGroup() {
    server_ = Edit("SmtpServer");
    port_ = new QComboBox;
    port_->setObjectName(QStringLiteral("Port"));
    port_->setEditable(true);
    port_->addItems({QStringLiteral("25"), QStringLiteral("465"), QStringLiteral("587")});
    port_->setMinimumContentsLength(6);
    mailFrom_ = Edit("MailFrom");
    useSsl_ = new QCheckBox(tr("&This server requires a secure connection (SSL)"));
    useSsl_->setObjectName(QStringLiteral("UseSsl"));
    requiresAuth_ = new QCheckBox(tr("T&his server requires authentication"));
    requiresAuth_->setObjectName(QStringLiteral("RequiresAuth"));
    accountName_ = Edit("AccountName");
    password_ = Edit("Password");
    password_->setEchoMode(QLineEdit::Password);

    auto* serverRow = new QHBoxLayout;
    serverRow->addWidget(server_, 1);
    serverRow->addWidget(Label(tr("&Port:"), port_));
    serverRow->addWidget(port_);

    auto* accountRow = new QHBoxLayout;
    accountRow->addSpacing(20);
    accountRow->addWidget(Label(tr("&Account Name:"), accountName_));
    accountRow->addWidget(accountName_, 1);
    accountRow->addWidget(Label(tr("&Password:"), password_));
    accountRow->addWidget(password_, 1);

    auto* group = new QWidget;
    auto* form = new QFormLayout(group);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(Label(tr("&SMTP Server:"), server_), serverRow);
    form->addRow(Label(tr("&Mail From:"), mailFrom_), mailFrom_);
    form->addRow(useSsl_);
    form->addRow(requiresAuth_);
    form->addRow(accountRow);

    connect(requiresAuth_, &QCheckBox::toggled, this, [this](bool on) {
        UpdateAuthEnabling();
        if (on) accountName_->setFocus();
    });
    return group;
}

QWidget* CMailSettingsDialog::BuildTemplateGroup() {
    highlightPage_ = new CMailTemplatePage(mail::MailTemplateKind::Highlight, "Highlight");
    stopPage_ = new CMailTemplatePage(mail::MailTemplateKind::StopUpdating, "Stop");
    templates_ = new QTabWidget;
    templates_->setObjectName(QStringLiteral("Templates"));
    templates_->addTab(highlightPage_, tr("Highlight Filter"));
    templates_->addTab(stopPage_, tr("Stop Updating"));

    QPushButton* preview = view::DialogButton(tr("Previe&w"), "Preview");
    QPushButton* reset = view::DialogButton(tr("&Reset"), "Reset");
    connect(preview, &QPushButton::clicked, this, [this] { Preview(); });
    connect(reset, &QPushButton::clicked, this, [this] { ResetTemplate(); });
    auto* templateButtons = new QHBoxLayout;
    templateButtons->addStretch(1);
    templateButtons->addWidget(preview);
    templateButtons->addWidget(reset);

    auto* group = new QGroupBox(tr("Notification Email Templates"));
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(templates_, 1);
    layout->addLayout(templateButtons);
    return group;
}

QWidget* CMailSettingsDialog::BuildSampleRow() {
    QPushButton* send = view::DialogButton(tr("Send a Sample &Email to"), "SendSample");
    sampleAddress_ = Edit("SampleAddress");
    connect(send, &QPushButton::clicked, this, [this] { SendSample(); });
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(send);
    layout->addWidget(sampleAddress_, 1);
    return row;
}

void CMailSettingsDialog::LoadControls(const mail::MailSettings& settings) {
    server_->setText(ToQString(settings.smtpServer));
    port_->setCurrentText(QString::number(settings.smtpPort));
    mailFrom_->setText(ToQString(settings.mailFrom));
    useSsl_->setChecked(settings.useSsl);
    // Loading must not move the focus as a user's tick does.
    const QSignalBlocker quiet(requiresAuth_);
    requiresAuth_->setChecked(settings.requiresAuth);
    accountName_->setText(ToQString(settings.accountName));
    password_->setText(ToQString(settings.password));
    highlightPage_->SetTemplate(mail::TemplateOf(settings, mail::MailTemplateKind::Highlight));
    stopPage_->SetTemplate(mail::TemplateOf(settings, mail::MailTemplateKind::StopUpdating));
    UpdateAuthEnabling();
}

void CMailSettingsDialog::UpdateAuthEnabling() {
    const bool on = requiresAuth_->isChecked();
    accountName_->setEnabled(on);
    password_->setEnabled(on);
}

mail::MailSettings CMailSettingsDialog::EditedSettings() const {
    mail::MailSettings settings = edited_;
    settings.smtpServer = server_->text().toStdU16String();
    settings.smtpPort =
        mail::ParseSmtpPort(port_->currentText().toStdU16String()).value_or(mail::kDefaultSmtpPort);
    settings.mailFrom = mailFrom_->text().toStdU16String();
    settings.useSsl = useSsl_->isChecked();
    settings.requiresAuth = requiresAuth_->isChecked();
    settings.accountName = accountName_->text().toStdU16String();
    settings.password = password_->text().toStdU16String();
    const mail::MailTemplate highlight = highlightPage_->Template();
    settings.highlightSubject = highlight.subject;
    settings.highlightBody = highlight.body;
    const mail::MailTemplate stop = stopPage_->Template();
    settings.stopSubject = stop.subject;
    settings.stopBody = stop.body;
    return settings;
}

CMailTemplatePage* CMailSettingsDialog::SelectedPage() const {
    return templates_->currentWidget() == stopPage_ ? stopPage_ : highlightPage_;
}

QWidget* CMailSettingsDialog::ControlOf(MailSettingsField field) {
    switch (field) {
        case MailSettingsField::Server:
            return server_;
        case MailSettingsField::Port:
            return port_;
        case MailSettingsField::MailFrom:
            return mailFrom_;
        case MailSettingsField::AccountName:
            return accountName_;
        case MailSettingsField::HighlightSubject:
            return highlightPage_->SubjectEdit();
        case MailSettingsField::HighlightBody:
            return highlightPage_->BodyEdit();
        case MailSettingsField::StopSubject:
            return stopPage_->SubjectEdit();
        case MailSettingsField::StopBody:
            return stopPage_->BodyEdit();
        case MailSettingsField::SampleAddress:
            return sampleAddress_;
    }
    return server_;
}

void CMailSettingsDialog::ShowProblem(const mail::MailSettingsProblem& problem) {
    ui_.ShowMessage(problem.message, core::MessageIcon::Exclamation);
    QWidget* control = ControlOf(problem.field);
    for (CMailTemplatePage* page : {highlightPage_, stopPage_}) {
        if (page->isAncestorOf(control)) templates_->setCurrentWidget(page);
    }
    control->setFocus();
}

void CMailSettingsDialog::accept() {
    if (sending_) return;
    const mail::MailSettings settings = EditedSettings();
    if (auto problem =
            mail::FindMailSettingsProblem(settings, port_->currentText().toStdU16String())) {
        ShowProblem(*problem);
        return;
    }
    mail::ApplyEditedMailSettings(mail_.Settings(), settings);
    QDialog::accept();
}

void CMailSettingsDialog::reject() {
    // A disabled dialog waits for its sample; the window's close button
    // must not take the outcome's receiver away.
    if (sending_) return;
    QDialog::reject();
}

void CMailSettingsDialog::Preview() {
    CMailTemplatePage* page = SelectedPage();
    ui_.ShowMessage(mail::PreviewTemplate(page->Template(), page->Kind()),
                    core::MessageIcon::Information);
}

void CMailSettingsDialog::ResetTemplate() {
    CMailTemplatePage* page = SelectedPage();
    page->SetTemplate(mail::DefaultTemplate(page->Kind()));
}

void CMailSettingsDialog::SendSample() {
    if (sending_) return;
    const mail::MailSettings settings = EditedSettings();
    const std::u16string address = sampleAddress_->text().toStdU16String();
    if (auto problem =
            mail::FindSampleMailProblem(settings, port_->currentText().toStdU16String(), address)) {
        ShowProblem(*problem);
        return;
    }
    mail::MailJob job =
        mail::ComposeSampleMail(settings, SelectedPage()->Kind(), address, mail_.Clock().Local());
    sending_ = true;
    status_->setText(ToQString(kSendingStatus));
    setEnabled(false);
    // The outcome comes back through the user-interface queue; a dialog
    // gone by then (the program ending) receives nothing.
    QPointer<CMailSettingsDialog> self(this);
    mail_.Sender().Start(std::move(job), [self](std::uint32_t, std::string error) {
        if (self) self->OnSampleSent(error);
    });
}

void CMailSettingsDialog::OnSampleSent(const std::string& error) {
    sending_ = false;
    setEnabled(true);
    status_->clear();
    if (error.empty()) {
        ui_.ShowMessage(kSampleSent, core::MessageIcon::Information);
    } else {
        ui_.ShowMessage(std::u16string(kSampleFailed) + platform::Utf8ToUtf16(error),
                        core::MessageIcon::Exclamation);
    }
}

}  // namespace mail_ui
