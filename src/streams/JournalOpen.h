#pragma once
// Opening the journal files a journal document or the Open Journal dialog
// reads: the user's own journals (those of this machine that the user may
// read), or every journal file of one folder, such as a folder where
// systemd-journal-remote collects other machines. Failures come back as a
// message for the user that names the folder and the reason.

#include <string>

struct sd_journal;

namespace streams {

// The journals of folder (empty: the user's own). Null, with the reason in
// error, when they cannot be opened.
sd_journal* OpenJournalFiles(const std::string& folder, std::u16string& error);

// False, with the reason in error, when folder (not empty) holds no journal
// file this user can read; opening such a folder succeeds, reading finds
// nothing.
bool FolderHoldsJournals(sd_journal* journal, const std::string& folder, std::u16string& error);

}  // namespace streams
