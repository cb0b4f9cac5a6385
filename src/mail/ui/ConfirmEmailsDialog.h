#pragma once
// The dialog "Confirm Highlight Filter Notification Emails": the records of
// highlight notifications on three tabs (waiting for confirmation, sent,
// still sending). Confirming a record lets its filter notify the record's
// document again; clearing forgets the sent records after confirming them.

#include <QDialog>

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/IUserInterface.h"
#include "filters/HighlightFilters.h"
#include "mail/NotificationRecords.h"

class QPushButton;
class QTabWidget;
class QTreeWidget;

namespace mail_ui {

class CConfirmEmailsDialog : public QDialog {
    Q_OBJECT
public:
    enum Tab : int { kRequiresConfirmation = 0, kSent = 1, kSending = 2 };

    CConfirmEmailsDialog(mail::CNotificationRecords& records, filters::CHighlightFilters& filters,
                         core::IUserInterface& ui, QWidget* parent = nullptr);

    QTreeWidget* List(Tab tab) const { return lists_[tab]; }

private:
    QTreeWidget* MakeList(const char* name);
    Tab CurrentTab() const;
    void FillList(Tab tab);
    void UpdateButtons();
    bool Ask(std::u16string_view question);
    std::vector<std::uint64_t> SelectedSerials() const;
    void ConfirmSelected();
    void ConfirmAll();
    void ClearAll();
    void Refresh();

    mail::CNotificationRecords& records_;
    filters::CHighlightFilters& filters_;
    core::IUserInterface& ui_;
    QTabWidget* tabs_ = nullptr;
    std::array<QTreeWidget*, 3> lists_{};
    QPushButton* confirm_ = nullptr;
    QPushButton* confirmAll_ = nullptr;
    QPushButton* clearAll_ = nullptr;
};

}  // namespace mail_ui
