#pragma once
// "Open Remote File": a file or the journal of another machine, read through
// the system's OpenSSH client. The host is written as for ssh (user@host, an
// alias of ~/.ssh/config, host:port); the aliases of the user's
// configuration are offered. The journal's choices are typed rather than
// listed, since listing them would need a connection. OK refuses a host or
// path the remote name cannot carry and says why in the dialog.

#include <QDialog>
#include <string>

#include "streams/RemoteName.h"
#include "streams/ui/SshConfigHosts.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace streams_ui {

class CBootChoice;

class COpenRemoteDialog : public QDialog {
    Q_OBJECT
public:
    // Starts from initial; a journal choice the dialog does not show (a
    // folder, a host of a collecting folder) is kept as it is. The aliases
    // offered come from the file sshConfig.
    explicit COpenRemoteDialog(const streams::RemoteQuery& initial = {}, QWidget* parent = nullptr,
                               const std::string& sshConfig = UserSshConfigPath());

    // The choice in the stable form of its name; false, with the reason for
    // the user in error, when the name cannot carry it.
    bool Choice(streams::RemoteQuery& query, std::u16string& error) const;
    // The remote name of the choice; empty while Choice refuses it.
    std::u16string Name() const;

    QComboBox* HostBox() const { return host_; }
    QRadioButton* FileButton() const { return file_; }
    QRadioButton* JournalButton() const { return journal_; }
    QLineEdit* PathEdit() const { return path_; }
    QLineEdit* UnitsEdit() const { return units_; }
    QLineEdit* IdentifiersEdit() const { return identifiers_; }
    QComboBox* PriorityBox() const { return priority_; }
    QLabel* NoticeLabel() const { return notice_; }

    void accept() override;

private:
    void UpdateEnabled();
    // Choice's work; the field to mend when it refuses, else null.
    QWidget* Check(streams::RemoteQuery& query, std::u16string& error) const;

    streams::JournalQuery initialJournal_;
    QComboBox* host_ = nullptr;
    QRadioButton* file_ = nullptr;
    QRadioButton* journal_ = nullptr;
    QLineEdit* path_ = nullptr;
    QWidget* journalPart_ = nullptr;
    CBootChoice* boot_ = nullptr;
    QLineEdit* units_ = nullptr;
    QLineEdit* identifiers_ = nullptr;
    QComboBox* priority_ = nullptr;
    QLabel* notice_ = nullptr;
};

}  // namespace streams_ui
