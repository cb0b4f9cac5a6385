#include "mail/ui/ConfirmEmailsDialog.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "mail/NotificationRecord.h"
#include "view/DialogParts.h"

namespace mail_ui {

namespace {

constexpr std::u16string_view kConfirmSelectedQuestion =
    u"Do you want to confirm selected records?";
constexpr std::u16string_view kConfirmAllQuestion = u"Do you want to confirm all records?";
constexpr std::u16string_view kClearAllQuestion =
    u"Do you want to confirm all unconfirmed records and remove all records?";

struct Column {
    const char* title;
    int width;
};

constexpr Column kColumns[] = {
    {"Filter Text", 90}, {"Log File", 130}, {"Time", 130},          {"Req. Cnf.", 70},
    {"Sent Result", 82}, {"Emails", 130},   {"Error Message", 150},
};

constexpr int kTimeColumn = 2;
constexpr char kWidestTime[] = "0000-00-00 00:00:00";
constexpr int kPadding = 16;

// The record's serial rides on the first cell.
constexpr int kSerialRole = Qt::UserRole;

QString ToQString(std::u16string_view text) {
    return QString::fromStdU16String(std::u16string(text));
}

QTreeWidgetItem* RowOf(const mail::NotificationRecord& record) {
    auto* row = new QTreeWidgetItem(QStringList{
        ToQString(record.filterText),
        ToQString(record.logFile),
        ToQString(mail::FormatRecordTime(record.time)),
        ToQString(mail::RequiresConfirmationText(record.requiresConfirmation)),
        ToQString(mail::SentResultText(record.state)),
        ToQString(record.emails),
        ToQString(record.errorMessage),
    });
    row->setData(0, kSerialRole, QVariant::fromValue<qulonglong>(record.serial));
    return row;
}

}  // namespace

CConfirmEmailsDialog::CConfirmEmailsDialog(mail::CNotificationRecords& records,
                                           filters::CHighlightFilters& filters,
                                           core::IUserInterface& ui, QWidget* parent)
    : QDialog(parent), records_(records), filters_(filters), ui_(ui) {
    setWindowTitle(tr("Confirm Highlight Filter Notification Emails"));
    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("Tabs"));
    tabs_->addTab(MakeList("RequiresConfirmationList"), tr("Req. Confirmation"));
    tabs_->addTab(MakeList("SentList"), tr("Sent"));
    tabs_->addTab(MakeList("SendingList"), tr("Sending"));
    for (int tab = 0; tab < tabs_->count(); ++tab) {
        lists_[tab] = static_cast<QTreeWidget*>(tabs_->widget(tab));
    }

    confirm_ = view::DialogButton(tr("&Confirm"), "Confirm");
    confirmAll_ = view::DialogButton(tr("Confirm &All"), "ConfirmAll");
    clearAll_ = view::DialogButton(tr("Cl&ear All"), "ClearAll");
    QPushButton* refresh = view::DialogButton(tr("Re&fresh"), "Refresh");
    QPushButton* close = view::DialogButton(tr("C&lose"), "Close");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {confirm_, confirmAll_, clearAll_, refresh}) {
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);

    connect(confirm_, &QPushButton::clicked, this, [this] { ConfirmSelected(); });
    connect(confirmAll_, &QPushButton::clicked, this, [this] { ConfirmAll(); });
    connect(clearAll_, &QPushButton::clicked, this, [this] { ClearAll(); });
    connect(refresh, &QPushButton::clicked, this, [this] { Refresh(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(lists_[kRequiresConfirmation], &QTreeWidget::itemDoubleClicked, this,
            [this] { ConfirmSelected(); });
    for (QTreeWidget* list : lists_) {
        connect(list, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    }
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int tab) {
        FillList(static_cast<Tab>(tab));
        UpdateButtons();
    });

    for (const Tab tab : {kRequiresConfirmation, kSent, kSending}) FillList(tab);
    UpdateButtons();
    resize(880, 360);
}

QTreeWidget* CConfirmEmailsDialog::MakeList(const char* name) {
    auto* list = new QTreeWidget;
    list->setObjectName(QLatin1String(name));
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAllColumnsShowFocus(true);
    QStringList titles;
    for (const Column& column : kColumns) titles << tr(column.title);
    list->setHeaderLabels(titles);
    // The widths are those of the classic dialog font; a wider font still
    // shows a whole time stamp and every title.
    const QFontMetrics metrics = list->fontMetrics();
    for (int i = 0; i < titles.size(); ++i) {
        int width = std::max(kColumns[i].width, metrics.horizontalAdvance(titles[i]) + kPadding);
        if (i == kTimeColumn) {
            width =
                std::max(width, metrics.horizontalAdvance(QLatin1String(kWidestTime)) + kPadding);
        }
        list->header()->resizeSection(i, width);
    }
    return list;
}

CConfirmEmailsDialog::Tab CConfirmEmailsDialog::CurrentTab() const {
    return static_cast<Tab>(tabs_->currentIndex());
}

void CConfirmEmailsDialog::FillList(Tab tab) {
    QTreeWidget* list = lists_[tab];
    list->clear();
    const auto add = [list](const mail::NotificationRecord& record) {
        list->addTopLevelItem(RowOf(record));
    };
    if (tab == kRequiresConfirmation) {
        for (const auto& record : records_.Sent()) {
            if (record.requiresConfirmation) add(record);
        }
    } else {
        for (const auto& record : tab == kSent ? records_.Sent() : records_.Sending()) add(record);
    }
}

void CConfirmEmailsDialog::UpdateButtons() {
    const Tab tab = CurrentTab();
    const QTreeWidget* awaiting = lists_[kRequiresConfirmation];
    confirm_->setEnabled(tab == kRequiresConfirmation && !awaiting->selectedItems().isEmpty());
    confirmAll_->setEnabled(tab == kRequiresConfirmation && awaiting->topLevelItemCount() > 0);
    clearAll_->setEnabled(tab == kSent && lists_[kSent]->topLevelItemCount() > 0);
}

bool CConfirmEmailsDialog::Ask(std::u16string_view question) {
    return ui_.ShowMessage(question, core::MessageIcon::Question, core::MessageButtons::YesNo) ==
           core::MessageAnswer::Yes;
}

std::vector<std::uint64_t> CConfirmEmailsDialog::SelectedSerials() const {
    std::vector<std::uint64_t> serials;
    for (const QTreeWidgetItem* row : lists_[kRequiresConfirmation]->selectedItems()) {
        serials.push_back(row->data(0, kSerialRole).toULongLong());
    }
    return serials;
}

void CConfirmEmailsDialog::ConfirmSelected() {
    if (!confirm_->isEnabled() || !Ask(kConfirmSelectedQuestion)) return;
    records_.Confirm(SelectedSerials(), filters_);
    qDeleteAll(lists_[kRequiresConfirmation]->selectedItems());
    UpdateButtons();
}

void CConfirmEmailsDialog::ConfirmAll() {
    if (!Ask(kConfirmAllQuestion)) return;
    records_.ConfirmAll(filters_);
    lists_[kRequiresConfirmation]->clear();
    UpdateButtons();
}

void CConfirmEmailsDialog::ClearAll() {
    if (!Ask(kClearAllQuestion)) return;
    records_.ClearAll(filters_);
    lists_[kRequiresConfirmation]->clear();
    lists_[kSent]->clear();
    UpdateButtons();
}

void CConfirmEmailsDialog::Refresh() {
    ui_.BeginWaitCursor();
    FillList(CurrentTab());
    ui_.EndWaitCursor();
    UpdateButtons();
}

}  // namespace mail_ui
