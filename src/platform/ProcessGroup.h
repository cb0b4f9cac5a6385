#pragma once
// A child that leads a process group of its own (StartWithOutput): its end
// is told through a descriptor an event loop can watch, and ending it ends
// the whole group: SIGTERM first, SIGKILL to what is left two seconds later,
// without the caller ever waiting. The ended child stays unreaped until the
// group is ended, so its number, and so the group's, cannot pass to another
// process meanwhile. Groups still being ended when the program exits are
// waited for then, so no child outlives it.

#include <sys/types.h>

#include <string>

namespace platform {

class CGroupLeader {
public:
    CGroupLeader() = default;
    // Ends the group, as EndGroup.
    ~CGroupLeader();
    CGroupLeader(const CGroupLeader&) = delete;
    CGroupLeader& operator=(const CGroupLeader&) = delete;

    // Takes over a running child that leads its group. False when its
    // process descriptor cannot be had; the group is ended then.
    bool Adopt(pid_t pid);
    bool IsAdopted() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }

    // Readable once the child ended; -1 when none.
    int ExitDescriptor() const { return pidfd_; }
    // True once the child ended, with its wait status in status.
    bool HasEnded(int& status);

    // Ends the group and reaps the child; returns at once.
    void EndGroup();

private:
    pid_t pid_ = -1;
    int pidfd_ = -1;
};

// "exit status 3", "signal 15 (Terminated)".
std::string DescribeWaitStatus(int status);

}  // namespace platform
