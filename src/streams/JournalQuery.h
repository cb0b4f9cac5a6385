#pragma once
// Which entries of which journal a journal document shows, and its name: the
// one stable text for the same selection, "journal:" alone for the whole
// journal, else "journal:?" and key=value pairs with the keys sorted, the
// values sorted within a repeated key and percent-encoded, for example
// "journal:?priority=4&unit=ssh.service".
//
//   boot=1          entries of this boot only
//   dir=PATH        the journal files of a folder instead of the user's own
//   host=NAME       entries of one host (_HOSTNAME), for collecting folders
//   identifier=ID   a SYSLOG_IDENTIFIER; repeated: any of them
//   priority=N      at most N (0 emerg ... 7 debug, or the name)
//   unit=UNIT       a _SYSTEMD_UNIT (".service" when it has no suffix);
//                   repeated: any of them

#include <string>
#include <string_view>
#include <vector>

namespace streams {

struct JournalQuery {
    bool thisBoot = false;
    std::string folder;  // absolute and normal; empty: the user's journals
    std::string host;
    std::vector<std::string> identifiers;  // sorted, without repeats
    int maxPriority = -1;                  // -1: any priority
    std::vector<std::string> units;        // sorted, without repeats

    bool operator==(const JournalQuery&) const = default;
};

// True when name is meant as a journal name (it starts with "journal:").
bool IsJournalName(std::u16string_view name);

// Reads a journal name into query. False, with a message for the user in
// error, for a name with an unknown key or a bad value.
bool ParseJournalName(std::u16string_view name, JournalQuery& query, std::u16string& error);

// The name of query, as ParseJournalName reads it back.
std::u16string FormatJournalName(const JournalQuery& query);

}  // namespace streams
