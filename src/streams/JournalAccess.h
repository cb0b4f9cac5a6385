#pragma once
// Who may read which journals. The system keeps the entries of the system
// and of other users in journals only root and the groups "systemd-journal"
// and "adm" may read; anyone else silently sees only their own entries, so
// a journal document says so once.

#include <string>

namespace streams {

// True when this process may read the journals of every user and of the
// system.
bool ReadsAllJournals();

// The notice for a user who does not, naming the group that gives access;
// empty for one who does.
std::u16string JournalAccessNotice();

}  // namespace streams
