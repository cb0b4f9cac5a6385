#include "streams/ui/OpenRemoteDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <vector>

#include "streams/ui/JournalChoiceParts.h"
#include "view/DialogParts.h"

namespace streams_ui {

namespace {

// The path as the user reads it: the remote user's home folder as "~/".
constexpr std::u16string_view kHomeInName = u"/~/";

QLineEdit* WordsEdit(const char* name, const std::vector<std::string>& words) {
    QStringList texts;
    for (const std::string& word : words) texts << FromUtf8(word);
    auto* edit = new QLineEdit(texts.join(QLatin1Char(' ')));
    edit->setObjectName(QLatin1String(name));
    edit->setPlaceholderText(QObject::tr("separated by spaces; none: all"));
    view::AllowAnyLength(edit);
    return edit;
}

std::vector<std::string> WordsOf(const QLineEdit* edit) {
    static const QRegularExpression kSeparators(QStringLiteral("[\\s,]+"));
    std::vector<std::string> words;
    for (const QString& word : edit->text().split(kSeparators, Qt::SkipEmptyParts)) {
        words.push_back(ToUtf8(word));
    }
    return words;
}

}  // namespace

COpenRemoteDialog::COpenRemoteDialog(const streams::RemoteQuery& initial, QWidget* parent,
                                     const std::string& sshConfig)
    : QDialog(parent), initialJournal_(initial.journalQuery) {
    setWindowTitle(tr("Open Remote File"));
    host_ = new QComboBox;
    host_->setObjectName(QStringLiteral("Host"));
    host_->setEditable(true);
    host_->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& alias : ReadSshConfigHosts(sshConfig)) host_->addItem(FromUtf8(alias));
    host_->lineEdit()->setPlaceholderText(tr("user@host, an alias of ~/.ssh/config, host:port"));
    host_->setEditText(initial.host.host.empty()
                           ? QString()
                           : QString::fromStdU16String(streams::FormatRemoteHost(initial.host)));

    file_ = new QRadioButton(tr("A &file:"));
    file_->setObjectName(QStringLiteral("RemoteFile"));
    journal_ = new QRadioButton(tr("The &journal"));
    journal_->setObjectName(QStringLiteral("RemoteJournal"));
    (initial.journal ? journal_ : file_)->setChecked(true);
    path_ = new QLineEdit;
    path_->setObjectName(QStringLiteral("Path"));
    path_->setPlaceholderText(tr("/var/log/syslog, or ~/logs/app.log in the remote home folder"));
    view::AllowAnyLength(path_);
    if (!initial.journal) {
        QString shown = FromUtf8(initial.path);
        if (shown.startsWith(QString::fromStdU16String(std::u16string(kHomeInName)))) {
            shown.remove(0, 1);
        }
        path_->setText(shown);
    }

    boot_ = new CBootChoice(initialJournal_.thisBoot);
    units_ = WordsEdit("Units", initialJournal_.units);
    identifiers_ = WordsEdit("Identifiers", initialJournal_.identifiers);
    priority_ = MakePriorityBox(initialJournal_.maxPriority);
    notice_ = new QLabel;
    notice_->setObjectName(QStringLiteral("Notice"));
    notice_->setWordWrap(true);
    notice_->setTextFormat(Qt::PlainText);
    notice_->hide();
    auto* note = new QLabel(
        tr("ssh runs without a terminal to ask in: the host needs your SSH key or agent, and its "
           "host key must be known (connect once with ssh first). A dropped connection is made "
           "again by itself."));
    note->setWordWrap(true);

    auto* hostLabel = new QLabel(tr("&Host:"));
    hostLabel->setBuddy(host_);
    auto* form = new QFormLayout;
    form->addRow(hostLabel, host_);
    form->addRow(file_, path_);
    form->addRow(journal_);
    journalPart_ = new QWidget;
    auto* journalForm = new QFormLayout(journalPart_);
    journalForm->setContentsMargins(24, 0, 0, 0);
    journalForm->addRow(boot_);
    auto addRow = [journalForm](const QString& text, QWidget* field) {
        auto* label = new QLabel(text);
        label->setBuddy(field);
        journalForm->addRow(label, field);
    };
    addRow(tr("&Units:"), units_);
    addRow(tr("&Identifiers:"), identifiers_);
    addRow(tr("&Priority at most:"), priority_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(journalPart_);
    layout->addWidget(notice_);
    layout->addWidget(note);
    layout->addStretch();
    layout->addWidget(buttons);
    setMinimumWidth(560);

    connect(file_, &QRadioButton::toggled, this, &COpenRemoteDialog::UpdateEnabled);
    // A refusal's reason stays until the choice changes.
    for (QLineEdit* edit : {host_->lineEdit(), path_, units_, identifiers_}) {
        connect(edit, &QLineEdit::textEdited, notice_, &QLabel::hide);
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &COpenRemoteDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    UpdateEnabled();
    host_->setFocus();
}

void COpenRemoteDialog::UpdateEnabled() {
    const bool journal = journal_->isChecked();
    path_->setEnabled(!journal);
    journalPart_->setEnabled(journal);
}

bool COpenRemoteDialog::Choice(streams::RemoteQuery& query, std::u16string& error) const {
    return Check(query, error) == nullptr;
}

QWidget* COpenRemoteDialog::Check(streams::RemoteQuery& query, std::u16string& error) const {
    query = {};
    const std::u16string host = host_->currentText().trimmed().toStdU16String();
    if (host.empty()) {
        error = u"Please enter a host.";
        return host_;
    }
    if (!streams::ParseRemoteHost(host, query.host, error)) return host_;
    query.journal = journal_->isChecked();
    if (query.journal) {
        query.journalQuery = initialJournal_;
        query.journalQuery.thisBoot = boot_->ThisBoot();
        query.journalQuery.maxPriority = ChosenPriority(priority_);
        query.journalQuery.units = WordsOf(units_);
        query.journalQuery.identifiers = WordsOf(identifiers_);
    } else {
        QString path = path_->text().trimmed();
        if (path.isEmpty()) {
            error = u"Please enter the path of the remote file.";
            return path_;
        }
        if (path.startsWith(QStringLiteral("~/"))) path.prepend(QLatin1Char('/'));
        if (!path.startsWith(QLatin1Char('/'))) {
            error = u"The path \"" + path.toStdU16String() +
                    u"\" is not absolute: write it from / or, in the remote user's home folder, "
                    u"from ~/.";
            return path_;
        }
        query.path = ToUtf8(path);
    }
    // Read back, the name gives the choice in its stable form, or refuses
    // what it cannot carry.
    streams::RemoteQuery read;
    if (!streams::ParseRemoteName(streams::FormatRemoteName(query), read, error)) {
        return query.journal ? static_cast<QWidget*>(units_) : path_;
    }
    if (read.journal != query.journal) {
        error = u"The path \"" + FromUtf8(query.path).toStdU16String() +
                u"\" is the name of the remote journal: choose \"The journal\" to open it.";
        return path_;
    }
    query = read;
    return nullptr;
}

std::u16string COpenRemoteDialog::Name() const {
    streams::RemoteQuery query;
    std::u16string error;
    return Choice(query, error) ? streams::FormatRemoteName(query) : std::u16string();
}

void COpenRemoteDialog::accept() {
    streams::RemoteQuery query;
    std::u16string error;
    if (QWidget* field = Check(query, error)) {
        notice_->setText(QString::fromStdU16String(error));
        notice_->show();
        field->setFocus();
        if (auto* box = qobject_cast<QComboBox*>(field)) field = box->lineEdit();
        if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
        return;
    }
    notice_->hide();
    QDialog::accept();
}

}  // namespace streams_ui
