#pragma once
// One run of the system's OpenSSH client: non-interactive (BatchMode, no
// terminal, so no prompt ever waits on a hidden one), with keep-alives, in a
// process group of its own. The script goes to the remote shell's standard
// input ("exec sh -s"), so that whatever login shell the far side has only
// ever parses those three words. Its output and errors are read as the event
// loop finds them ready; what ssh said last is kept to tell why it ended.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/ProcessGroup.h"
#include "platform/ReadinessSet.h"
#include "streams/RemoteName.h"

namespace streams {

// The ssh command line for host (TARVIK_SSH_CONFIG, when set, names an
// extra client configuration file, as "ssh -F" takes it).
std::vector<std::string> SshArguments(const RemoteHost& host);

class CSshSession {
public:
    static constexpr std::size_t kKeptErrorBytes = 4096;

    CSshSession() = default;
    // Ends the client's whole group.
    ~CSshSession() { End(); }
    CSshSession(const CSshSession&) = delete;
    CSshSession& operator=(const CSshSession&) = delete;

    // Starts ssh for host with script; 0, else the error number. The
    // descriptors to watch are added to wake.
    int Start(const RemoteHost& host, std::string_view script, platform::CReadinessSet& wake);
    bool Running() const { return leader_.IsAdopted(); }

    // Reads what the output pipe holds, at most maxBytes, into out; false
    // once the output has ended (and everything was read).
    bool ReadOutput(std::string& out, std::size_t maxBytes);
    // Stops or starts watching the output (while what was read waits).
    void WatchOutput(bool watch);
    // Reads what ssh wrote to its standard error: whole lines beginning
    // controlPrefix go to controls without it, the rest is kept.
    void ReadErrors(std::string_view controlPrefix, std::vector<std::string>& controls);
    // True once ssh ended and its output was all read, with its wait status.
    bool HasEnded(int& status);
    // The last line ssh (or the far side) wrote to standard error.
    std::string LastError() const;
    const std::string& Errors() const { return errors_; }

    // Ends the group and closes the pipes; returns at once.
    void End();

private:
    void CloseFd(int& fd);

    platform::CGroupLeader leader_;
    platform::CReadinessSet* wake_ = nullptr;
    int output_ = -1;
    int errorsFd_ = -1;
    bool outputWatched_ = false;
    bool outputEnded_ = false;
    bool exitSeen_ = false;
    int exitStatus_ = 0;
    std::string errors_;
    std::string errorLine_;  // an unfinished line of standard error
};

}  // namespace streams
