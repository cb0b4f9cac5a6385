#pragma once
// The name of a remote file or journal, read through the system's OpenSSH
// client: "ssh://[user@]host[:port]/path" for a file (a path beginning
// "/~/" is taken from the remote user's home folder) and
// "ssh://[user@]host[:port]/journal" with the journal name's keys, for
// example "ssh://web1/journal?unit=nginx.service". The host is what the
// user writes for ssh: a name, a ~/.ssh/config alias or an address, an IPv6
// address in brackets when a port follows. Its stable form has no default
// pieces: no empty user, no port 0, the journal keys sorted.

#include <string>
#include <string_view>

#include "streams/JournalQuery.h"

namespace streams {

inline constexpr std::u16string_view kRemotePrefix = u"ssh://";

struct RemoteHost {
    std::string user;  // empty: ssh's own choice
    std::string host;
    int port = 0;  // 0: ssh's own choice

    bool operator==(const RemoteHost&) const = default;
};

struct RemoteQuery {
    RemoteHost host;
    bool journal = false;
    std::string path;           // of the file, when not the journal
    JournalQuery journalQuery;  // when the journal

    bool operator==(const RemoteQuery&) const = default;
};

// True when name is meant as a remote name (it starts with "ssh://").
bool IsRemoteName(std::u16string_view name);

// Reads "[user@]host[:port]" as the user writes it for ssh. False, with a
// message for the user in error, for an empty host, a host or user that
// ssh would take as an option or that holds spaces, slashes or control
// characters, or a bad port.
bool ParseRemoteHost(std::u16string_view text, RemoteHost& host, std::u16string& error);

// "[user@]host[:port]" of host, as ParseRemoteHost reads it back.
std::u16string FormatRemoteHost(const RemoteHost& host);

// Reads a remote name into query; false, with a message for the user in
// error, for a bad host, a path that is not absolute or holds control
// characters, or a journal part the journal name would refuse.
bool ParseRemoteName(std::u16string_view name, RemoteQuery& query, std::u16string& error);

// The stable name of query, as ParseRemoteName reads it back.
std::u16string FormatRemoteName(const RemoteQuery& query);

}  // namespace streams
