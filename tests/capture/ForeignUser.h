#pragma once
// Another local user (nobody, 65534) for tests that run as root: a forked
// child drops to that user, plants objects under this user's channel names
// and keeps them (and any lock it took) until it is let go.

#include <fcntl.h>
#include <grp.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

namespace capture_test {

inline constexpr uid_t kForeignId = 65534;

class CForeignUser {
public:
    CForeignUser() = default;
    ~CForeignUser() { Release(); }
    CForeignUser(const CForeignUser&) = delete;
    CForeignUser& operator=(const CForeignUser&) = delete;

    // True once plant ran as the other user and returned true. Only root
    // can become another user.
    bool Plant(const std::function<bool()>& plant) {
        int ready[2];
        int hold[2];
        if (geteuid() != 0 || pipe(ready) != 0 || pipe(hold) != 0) return false;
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            close(hold[1]);
            const gid_t group = kForeignId;
            const bool dropped = setgroups(1, &group) == 0 &&
                                 setresgid(kForeignId, kForeignId, kForeignId) == 0 &&
                                 setresuid(kForeignId, kForeignId, kForeignId) == 0;
            umask(0);
            const char done = dropped && plant() ? 'y' : 'n';
            if (write(ready[1], &done, 1) != 1) _exit(1);
            char byte;
            while (read(hold[0], &byte, 1) > 0) {
            }
            _exit(0);
        }
        close(ready[1]);
        close(hold[0]);
        hold_ = hold[1];
        char done = 'n';
        const bool answered = pid_ > 0 && read(ready[0], &done, 1) == 1;
        close(ready[0]);
        return answered && done == 'y';
    }

    // Lets the child end; what it planted stays.
    void Release() {
        if (hold_ >= 0) close(hold_);
        hold_ = -1;
        if (pid_ > 0) waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int hold_ = -1;
};

// Removes what the other user planted: UnlinkDebugChannel leaves another
// user's objects alone, root may remove them by path.
inline void RemovePaths(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) unlink(path.c_str());
}

}  // namespace capture_test
