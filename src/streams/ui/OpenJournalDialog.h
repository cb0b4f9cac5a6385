#pragma once
// "Open Journal": which entries of which journal a journal document shows.
// The whole journal or this boot only, units and identifiers offered from
// the journal's own values (several may be chosen; none means all), a
// priority the entries are at most, the journal folder (empty: the journals
// this user may read) and, for a folder that collects other machines, one
// host. The values are read again whenever the folder changes; a folder
// that cannot be read says why below the lists, and OK refuses it.

#include <QDialog>
#include <string>

#include "streams/JournalQuery.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace core {
class IUserInterface;
}

namespace streams_ui {

class CBootChoice;

class COpenJournalDialog : public QDialog {
    Q_OBJECT
public:
    // Starts from initial (its units and identifiers are chosen even when
    // the journal holds none of them). ui tells a refusal; without one a box
    // over the dialog does.
    explicit COpenJournalDialog(const streams::JournalQuery& initial = {},
                                core::IUserInterface* ui = nullptr, QWidget* parent = nullptr);

    // The selection as chosen, and its journal name, the folder made
    // absolute and normal as the document reads it.
    streams::JournalQuery Query() const;
    std::u16string Name() const;

    QLineEdit* FolderEdit() const { return folder_; }
    QListWidget* UnitList() const { return units_; }
    QListWidget* IdentifierList() const { return identifiers_; }
    QComboBox* HostBox() const { return host_; }
    QComboBox* PriorityBox() const { return priority_; }
    QLabel* NoticeLabel() const { return notice_; }

    // Reads the values of the folder now in the folder field, unless they
    // were read for it last.
    void RefreshValues();
    void accept() override;

private:
    void Browse();
    void UpdateHost();

    core::IUserInterface* ui_;
    CBootChoice* boot_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QComboBox* host_ = nullptr;
    QComboBox* priority_ = nullptr;
    QListWidget* units_ = nullptr;
    QListWidget* identifiers_ = nullptr;
    QLabel* notice_ = nullptr;
    bool valuesRead_ = false;
    QString valuesFolder_;    // the folder the lists were read for
    std::u16string problem_;  // why that folder cannot be read; empty when it can
};

}  // namespace streams_ui
