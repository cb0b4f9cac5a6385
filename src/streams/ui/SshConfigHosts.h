#pragma once
// The host aliases a user's OpenSSH client configuration names, offered as
// choices where a remote host is asked for. Only plain aliases are offered:
// no patterns ("*.corp", "db?"), no negations, nothing ssh would take as an
// option. The file is the user's, yet it is read as a stranger's: a FIFO, a
// device or a huge file in its place, or in a file it includes, never blocks
// nor grows without bound; what lies beyond the bounds is left out.

#include <string>
#include <vector>

namespace streams_ui {

// The user's own configuration file, ~/.ssh/config (the home folder as ssh
// finds it: the password database, else $HOME).
std::string UserSshConfigPath();

// The aliases of the "Host" lines of the file at path and of the files its
// "Include" lines name (relative ones from the file's folder, "~/" from the
// home folder, wildcards expanded), in the order they appear, each once.
std::vector<std::string> ReadSshConfigHosts(const std::string& path);

}  // namespace streams_ui
