#include "streams/ui/OpenJournalDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "core/IUserInterface.h"
#include "core/WaitCursor.h"
#include "streams/JournalAccess.h"
#include "streams/JournalValues.h"
#include "streams/ui/JournalChoiceParts.h"
#include "view/DialogParts.h"
#include "view/PlainMessageBox.h"

namespace streams_ui {

namespace {

QListWidget* ValueList(const char* name) {
    auto* list = new QListWidget;
    list->setObjectName(QLatin1String(name));
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setMinimumHeight(160);
    return list;
}

std::vector<std::string> CheckedValues(const QListWidget* list) {
    std::vector<std::string> values;
    for (int row = 0; row < list->count(); ++row) {
        const QListWidgetItem* item = list->item(row);
        if (item->checkState() == Qt::Checked) values.push_back(ToUtf8(item->text()));
    }
    return values;
}

// Offers values, the chosen ones first and checked, whether the journal
// holds them or not.
void FillList(QListWidget* list, const std::vector<std::string>& chosen,
              const std::vector<std::string>& values) {
    list->clear();
    auto add = [list](const std::string& value, bool checked) {
        auto* item = new QListWidgetItem(FromUtf8(value), list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    };
    for (const std::string& value : chosen) add(value, true);
    for (const std::string& value : values) {
        if (std::find(chosen.begin(), chosen.end(), value) == chosen.end()) add(value, false);
    }
}

// The query read back as a document reads its name: the folder absolute and
// normal, so the name is the one stable text for this selection.
streams::JournalQuery AsRead(const streams::JournalQuery& chosen) {
    streams::JournalQuery query;
    std::u16string error;
    return streams::ParseJournalName(streams::FormatJournalName(chosen), query, error) ? query
                                                                                       : chosen;
}

}  // namespace

COpenJournalDialog::COpenJournalDialog(const streams::JournalQuery& initial,
                                       core::IUserInterface* ui, QWidget* parent)
    : QDialog(parent), ui_(ui) {
    setWindowTitle(tr("Open Journal"));
    boot_ = new CBootChoice(initial.thisBoot);

    folder_ = new QLineEdit(FromUtf8(initial.folder));
    folder_->setObjectName(QStringLiteral("Folder"));
    folder_->setPlaceholderText(tr("The journals this user may read"));
    view::AllowAnyLength(folder_);
    QPushButton* browse = view::DialogButton(tr("B&rowse..."), "Browse");
    host_ = new QComboBox;
    host_->setObjectName(QStringLiteral("Host"));
    host_->setEditable(true);
    host_->setInsertPolicy(QComboBox::NoInsert);
    host_->lineEdit()->setPlaceholderText(tr("All hosts"));
    host_->setEditText(FromUtf8(initial.host));
    priority_ = MakePriorityBox(initial.maxPriority);
    units_ = ValueList("Units");
    identifiers_ = ValueList("Identifiers");
    FillList(units_, initial.units, {});
    FillList(identifiers_, initial.identifiers, {});
    notice_ = new QLabel;
    notice_->setObjectName(QStringLiteral("Notice"));
    notice_->setWordWrap(true);
    notice_->setTextFormat(Qt::PlainText);

    auto* grid = new QGridLayout;
    auto addRow = [grid](int row, const QString& text, QWidget* field, QWidget* beside = nullptr) {
        auto* label = new QLabel(text);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1, 1, beside ? 1 : 2);
        if (beside) grid->addWidget(beside, row, 2);
    };
    addRow(0, tr("Journal &folder:"), folder_, browse);
    addRow(1, tr("&Host:"), host_);
    addRow(2, tr("&Priority at most:"), priority_);
    grid->setColumnStretch(1, 1);
    auto* unitsLabel = new QLabel(tr("&Units (none chosen: all):"));
    unitsLabel->setBuddy(units_);
    auto* identifiersLabel = new QLabel(tr("&Identifiers (none chosen: all):"));
    identifiersLabel->setBuddy(identifiers_);
    auto* lists = new QGridLayout;
    lists->addWidget(unitsLabel, 0, 0);
    lists->addWidget(identifiersLabel, 0, 1);
    lists->addWidget(units_, 1, 0);
    lists->addWidget(identifiers_, 1, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(boot_);
    layout->addLayout(grid);
    layout->addLayout(lists, 1);
    layout->addWidget(notice_);
    layout->addWidget(buttons);
    resize(640, 480);

    connect(browse, &QPushButton::clicked, this, &COpenJournalDialog::Browse);
    connect(folder_, &QLineEdit::editingFinished, this, &COpenJournalDialog::RefreshValues);
    connect(folder_, &QLineEdit::textChanged, this, &COpenJournalDialog::UpdateHost);
    connect(buttons, &QDialogButtonBox::accepted, this, &COpenJournalDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    UpdateHost();
    RefreshValues();
}

void COpenJournalDialog::UpdateHost() {
    // The user's own journals are this machine's; a host is a folder's choice.
    host_->setEnabled(!folder_->text().trimmed().isEmpty());
}

void COpenJournalDialog::RefreshValues() {
    const QString folder = folder_->text().trimmed();
    if (valuesRead_ && folder == valuesFolder_) return;
    valuesRead_ = true;
    valuesFolder_ = folder;
    streams::JournalValues values;
    problem_.clear();
    {
        core::CWaitCursor wait(ui_);
        streams::JournalQuery chosen;
        chosen.folder = ToUtf8(folder);
        streams::ReadJournalValues(AsRead(chosen).folder, values, problem_);
    }
    FillList(units_, CheckedValues(units_), values.units);
    FillList(identifiers_, CheckedValues(identifiers_), values.identifiers);
    const QString host = host_->currentText();
    host_->clear();
    for (const std::string& value : values.hosts) host_->addItem(FromUtf8(value));
    host_->setEditText(host);
    std::u16string notice = problem_.empty() ? streams::JournalValuesNotice(values) : problem_;
    // Values of other users and of the system are missing when the user may
    // read only their own journal.
    if (problem_.empty() && folder.isEmpty()) {
        const std::u16string access = streams::JournalAccessNotice();
        if (!access.empty()) notice += (notice.empty() ? u"" : u"\n") + access;
    }
    notice_->setText(QString::fromStdU16String(notice));
    notice_->setVisible(!notice.empty());
}

void COpenJournalDialog::Browse() {
    QString start = folder_->text().trimmed();
    if (start.isEmpty()) start = QStringLiteral("/var/log/journal");
    const QString chosen =
        QFileDialog::getExistingDirectory(this, tr("Please choose a journal folder:"), start);
    if (chosen.isEmpty()) return;
    folder_->setText(chosen);
    RefreshValues();
}

streams::JournalQuery COpenJournalDialog::Query() const {
    streams::JournalQuery query;
    query.thisBoot = boot_->ThisBoot();
    query.folder = ToUtf8(folder_->text().trimmed());
    if (!query.folder.empty()) query.host = ToUtf8(host_->currentText().trimmed());
    query.maxPriority = ChosenPriority(priority_);
    query.units = CheckedValues(units_);
    query.identifiers = CheckedValues(identifiers_);
    return query;
}

std::u16string COpenJournalDialog::Name() const {
    return streams::FormatJournalName(AsRead(Query()));
}

void COpenJournalDialog::accept() {
    RefreshValues();
    if (!problem_.empty()) {
        if (ui_) {
            ui_->ShowMessage(problem_, core::MessageIcon::Exclamation);
        } else {
            view::ShowPlainMessage(this, QMessageBox::Warning, QString::fromStdU16String(problem_));
        }
        folder_->setFocus();
        folder_->selectAll();
        return;
    }
    QDialog::accept();
}

}  // namespace streams_ui
