#include "mail/ui/StopUpdatingDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/MailSettingsQuestion.h"
#include "app/TarvikApp.h"
#include "core/IUserInterface.h"
#include "view/DialogParts.h"
#include "view/PlainMessageBox.h"

namespace mail_ui {

namespace {

constexpr int kMaxSeconds = 32767;

}  // namespace

CStopUpdatingDialog::CStopUpdatingDialog(app::CTarvikApp& app, core::IUserInterface* ui,
                                         QWidget* parent, std::function<void()> openMailSettings,
                                         PickFiles pickFiles)
    : QDialog(parent),
      app_(app),
      ui_(ui),
      openMailSettings_(std::move(openMailSettings)),
      pickFiles_(std::move(pickFiles)) {
    if (!pickFiles_) pickFiles_ = view::ChooseFilesToOpen;
    setWindowTitle(tr("Stop Updating Notification"));
    const mail::StopUpdatingEdit edit =
        mail::StopUpdatingEditOf(app.Mail().StopUpdating().Settings());

    enable_ = new QCheckBox(tr("&Send an email if a file has stopped updating for"));
    enable_->setObjectName(QStringLiteral("Enable"));
    enable_->setChecked(edit.enabled);
    seconds_ = new QSpinBox;
    seconds_->setObjectName(QStringLiteral("Seconds"));
    seconds_->setRange(0, kMaxSeconds);
    seconds_->setValue(std::clamp(edit.seconds, 0, kMaxSeconds));
    auto* secondsLabel = new QLabel(tr("seconds since file open or last update"));
    auto* quietRow = new QHBoxLayout;
    quietRow->addWidget(enable_);
    quietRow->addWidget(seconds_);
    quietRow->addWidget(secondsLabel);
    quietRow->addStretch();

    emails_ = new QLineEdit(QString::fromStdU16String(edit.emails));
    emails_->setObjectName(QStringLiteral("Emails"));
    auto* emailsLabel = new QLabel(tr("&Emails:"));
    emailsLabel->setBuddy(emails_);
    auto* emailsHint =
        new QLabel(tr("* ONLY email address, DO NOT include name\n"
                      "* Use commas to separate multiple email addresses"));
    auto* emailsGrid = new QGridLayout;
    emailsGrid->addWidget(emailsLabel, 0, 0);
    emailsGrid->addWidget(emails_, 0, 1);
    emailsGrid->addWidget(emailsHint, 1, 1);

    dontSend_ = new QCheckBox(tr("Do &not send email from"));
    dontSend_->setObjectName(QStringLiteral("DontSend"));
    dontSend_->setChecked(edit.dontSendEnabled);
    beginHour_ = MakeTimeList("BeginHour", 24, edit.beginHour);
    beginMinute_ = MakeTimeList("BeginMinute", 60, edit.beginMinute);
    endHour_ = MakeTimeList("EndHour", 24, edit.endHour);
    endMinute_ = MakeTimeList("EndMinute", 60, edit.endMinute);
    auto* toLabel = new QLabel(tr("to"));
    auto* formatLabel = new QLabel(tr("(HH:MM)"));
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(dontSend_);
    timeRow->addWidget(beginHour_);
    timeRow->addWidget(new QLabel(QStringLiteral(":")));
    timeRow->addWidget(beginMinute_);
    timeRow->addWidget(toLabel);
    timeRow->addWidget(endHour_);
    timeRow->addWidget(new QLabel(QStringLiteral(":")));
    timeRow->addWidget(endMinute_);
    timeRow->addWidget(formatLabel);
    timeRow->addStretch();

    desktopNotice_ = new QCheckBox(tr("Show a desktop not&ification"));
    desktopNotice_->setObjectName(QStringLiteral("DesktopNotice"));
    desktopNotice_->setChecked(edit.desktopNotice);
    postWebHook_ = new QCheckBox(tr("&Post to a web hook"));
    postWebHook_->setObjectName(QStringLiteral("PostWebHook"));
    postWebHook_->setChecked(edit.postWebHook);
    webHookUrl_ = new QLineEdit(QString::fromStdU16String(edit.webHookUrl));
    webHookUrl_->setObjectName(QStringLiteral("WebHookUrl"));
    webHookUrl_->setPlaceholderText(QStringLiteral("https://"));
    view::AllowAnyLength(webHookUrl_);
    webHookBody_ = edit.webHookBody;
    auto* webHookLabel = new QLabel(tr("URL:"));
    webHookLabel->setBuddy(webHookUrl_);
    auto* webHookRow = new QHBoxLayout;
    webHookRow->addWidget(postWebHook_);
    webHookRow->addWidget(webHookLabel);
    webHookRow->addWidget(webHookUrl_, 1);

    allFiles_ = new QRadioButton(tr("&All open files"));
    allFiles_->setObjectName(QStringLiteral("AllFiles"));
    listedFiles_ = new QRadioButton(tr("&The following files (should be opened by Ostra Tarvik)"));
    listedFiles_->setObjectName(QStringLiteral("ListedFiles"));
    (edit.allFiles ? allFiles_ : listedFiles_)->setChecked(true);
    files_ = new QTreeWidget;
    files_->setObjectName(QStringLiteral("FileList"));
    files_->setHeaderLabels({tr("File")});
    files_->setRootIsDecorated(false);
    files_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    files_->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (const std::u16string& path : edit.files) AppendFile(path);
    add_ = new QPushButton(tr("Ad&d"));
    add_->setObjectName(QStringLiteral("Add"));
    remove_ = new QPushButton(tr("&Remove"));
    remove_->setObjectName(QStringLiteral("Remove"));
    auto* fileButtons = new QVBoxLayout;
    fileButtons->addWidget(add_);
    fileButtons->addWidget(remove_);
    fileButtons->addStretch();
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(files_);
    fileRow->addLayout(fileButtons);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(quietRow);
    layout->addLayout(emailsGrid);
    layout->addLayout(timeRow);
    layout->addWidget(desktopNotice_);
    layout->addLayout(webHookRow);
    layout->addWidget(allFiles_);
    layout->addWidget(listedFiles_);
    layout->addLayout(fileRow);
    layout->addWidget(buttons);

    belowEnable_ = {seconds_,       secondsLabel, emailsLabel, emails_,   emailsHint,
                    dontSend_,      toLabel,      formatLabel, allFiles_, listedFiles_,
                    desktopNotice_, postWebHook_, webHookLabel};
    connect(enable_, &QCheckBox::toggled, this, &CStopUpdatingDialog::UpdateEnabling);
    connect(dontSend_, &QCheckBox::toggled, this, &CStopUpdatingDialog::UpdateEnabling);
    connect(postWebHook_, &QCheckBox::toggled, this, &CStopUpdatingDialog::UpdateEnabling);
    connect(listedFiles_, &QRadioButton::toggled, this, &CStopUpdatingDialog::UpdateEnabling);
    connect(files_, &QTreeWidget::itemSelectionChanged, this, &CStopUpdatingDialog::UpdateEnabling);
    connect(add_, &QPushButton::clicked, this, &CStopUpdatingDialog::AddFiles);
    connect(remove_, &QPushButton::clicked, this, &CStopUpdatingDialog::RemoveSelectedFiles);
    connect(buttons, &QDialogButtonBox::accepted, this, &CStopUpdatingDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    UpdateEnabling();
}

QComboBox* CStopUpdatingDialog::MakeTimeList(const char* name, int count, int value) {
    auto* list = new QComboBox;
    list->setObjectName(QLatin1String(name));
    for (int i = 0; i < count; ++i) list->addItem(QStringLiteral("%1").arg(i, 2, 10, QChar('0')));
    list->setCurrentIndex(std::clamp(value, 0, count - 1));
    return list;
}

void CStopUpdatingDialog::AppendFile(const std::u16string& path) {
    new QTreeWidgetItem(files_, {QString::fromStdU16String(path)});
}

void CStopUpdatingDialog::UpdateEnabling() {
    const bool on = enable_->isChecked();
    for (QWidget* widget : belowEnable_) widget->setEnabled(on);
    const bool times = on && dontSend_->isChecked();
    for (QComboBox* list : {beginHour_, beginMinute_, endHour_, endMinute_}) {
        list->setEnabled(times);
    }
    webHookUrl_->setEnabled(on && postWebHook_->isChecked());
    const bool listed = on && listedFiles_->isChecked();
    files_->setEnabled(listed);
    add_->setEnabled(listed);
    remove_->setEnabled(listed && !files_->selectedItems().isEmpty());
}

mail::StopUpdatingEdit CStopUpdatingDialog::Edit() const {
    mail::StopUpdatingEdit edit;
    edit.enabled = enable_->isChecked();
    edit.seconds = seconds_->value();
    edit.emails = emails_->text().toStdU16String();
    edit.dontSendEnabled = dontSend_->isChecked();
    edit.beginHour = beginHour_->currentIndex();
    edit.beginMinute = beginMinute_->currentIndex();
    edit.endHour = endHour_->currentIndex();
    edit.endMinute = endMinute_->currentIndex();
    edit.allFiles = allFiles_->isChecked();
    for (int i = 0; i < files_->topLevelItemCount(); ++i) {
        edit.files.push_back(files_->topLevelItem(i)->text(0).toStdU16String());
    }
    edit.desktopNotice = desktopNotice_->isChecked();
    edit.postWebHook = postWebHook_->isChecked();
    edit.webHookUrl = webHookUrl_->text().toStdU16String();
    edit.webHookBody = webHookBody_;
    return edit;
}

void CStopUpdatingDialog::AddFiles() {
    std::vector<std::u16string> files = Edit().files;
    const std::size_t before = files.size();
    mail::AddStopUpdatingFiles(files, pickFiles_(this));
    for (std::size_t i = before; i < files.size(); ++i) AppendFile(files[i]);
}

void CStopUpdatingDialog::RemoveSelectedFiles() {
    for (QTreeWidgetItem* item : files_->selectedItems()) delete item;
    UpdateEnabling();
}

void CStopUpdatingDialog::ShowProblem(const mail::StopUpdatingProblem& problem) {
    if (ui_) {
        ui_->ShowMessage(problem.message, core::MessageIcon::None);
    } else {
        view::ShowPlainMessage(this, QMessageBox::NoIcon,
                               QString::fromStdU16String(problem.message), windowTitle());
    }
    switch (problem.field) {
        case mail::StopUpdatingField::Seconds:
            seconds_->setFocus();
            break;
        case mail::StopUpdatingField::Emails:
            emails_->setFocus();
            break;
        case mail::StopUpdatingField::DontSendTimes:
            beginHour_->setFocus();
            break;
    }
}

void CStopUpdatingDialog::accept() {
    mail::StopUpdatingEdit edit = Edit();
    const auto problem = mail::StopUpdatingEditProblem(edit);
    if (edit.enabled) {
        emails_->setText(QString::fromStdU16String(edit.emails));
        webHookUrl_->setText(QString::fromStdU16String(edit.webHookUrl));
    }
    if (problem) {
        ShowProblem(*problem);
        return;
    }
    app_.ApplyStopUpdating(mail::StopUpdatingSettingsOf(edit));
    QDialog::accept();
    if (ui_ && app::AskToCompleteMailSettings(edit.enabled, app_, *ui_) && openMailSettings_) {
        openMailSettings_();
    }
}

}  // namespace mail_ui
