#pragma once
// The commands run on the far side of ssh: small POSIX shell scripts that
// need nothing but coreutils (and journalctl for a journal), sent on the
// remote shell's standard input with their arguments quoted into them, so
// that no login shell on the far side ever parses a path or a value.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "streams/JournalQuery.h"

namespace streams {

// text in single quotes for a POSIX shell.
std::string ShellQuoted(std::string_view text);

// Where reading a remote file goes on after a dropped connection: the file
// (its inode) and the byte read up to; none before the first connection.
struct RemoteFilePlace {
    std::string inode;  // digits; empty: none yet
    std::uint64_t position = 0;
};

// Begins the lines the follow script writes to standard error about what
// its standard output carries.
inline constexpr std::string_view kRemoteControl = "@@tarvik ";

// Follows path as "tail -F" does (see kRemoteControl for what it says): from
// place when the file is still the one read there and not shorter, else
// the tail at open of at most tailBytes (no place) or the whole new file.
std::string RemoteFileScript(std::string_view path, const RemoteFilePlace& place,
                             std::uint64_t tailBytes);

// The line the journal script prints between the tail at open and what
// follows it; no journal field can read so.
inline constexpr std::string_view kJournalTailEnd = "-- tail end";

// Follows the entries query selects in the journal export format: after
// cursor when one is given, else the last tailEntries, then kJournalTailEnd,
// then each new entry.
std::string RemoteJournalScript(const JournalQuery& query, std::string_view cursor,
                                std::size_t tailEntries);

}  // namespace streams
