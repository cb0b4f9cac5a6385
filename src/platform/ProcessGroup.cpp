#include "platform/ProcessGroup.h"

#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace platform {

namespace {

constexpr int kTermGraceMs = 2000;

// The threads that end groups; joined when the program exits.
class GroupEnders {
public:
    ~GroupEnders() {
        std::vector<Ender> enders;
        {
            std::lock_guard lock(mutex_);
            enders.swap(enders_);
        }
        for (Ender& ender : enders) ender.thread.join();
    }
    void Start(pid_t pid, int pidfd) {
        std::lock_guard lock(mutex_);
        // Threads whose group is ended are joined, so that they do not pile up.
        std::erase_if(enders_, [](Ender& ender) {
            if (!*ender.done) return false;
            ender.thread.join();
            return true;
        });
        auto done = std::make_shared<std::atomic<bool>>(false);
        try {
            std::thread thread([pid, pidfd, done] {
                EndNow(pid, pidfd);
                *done = true;
            });
            enders_.push_back({std::move(thread), std::move(done)});
        } catch (const std::system_error&) {
            EndNow(pid, pidfd);  // no thread to be had: the caller waits instead
        }
    }

    // Terminates the group, gives it the grace time, kills what is left and
    // reaps the leader, which held the group's number until then.
    static void EndNow(pid_t pid, int pidfd) {
        kill(-pid, SIGTERM);
        if (pidfd >= 0) {
            pollfd ended{pidfd, POLLIN, 0};
            while (poll(&ended, 1, kTermGraceMs) < 0 && errno == EINTR) {
            }
        }
        kill(-pid, SIGKILL);
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        if (pidfd >= 0) close(pidfd);
    }

private:
    struct Ender {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::mutex mutex_;
    std::vector<Ender> enders_;
};

GroupEnders& Enders() {
    static GroupEnders enders;
    return enders;
}

}  // namespace

CGroupLeader::~CGroupLeader() {
    EndGroup();
}

bool CGroupLeader::Adopt(pid_t pid) {
    EndGroup();
    Enders();  // made before any group needs it, so it outlives them all
    pid_ = pid;
    pidfd_ = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (pidfd_ >= 0) return true;
    EndGroup();
    return false;
}

bool CGroupLeader::HasEnded(int& status) {
    if (pid_ <= 0) return false;
    siginfo_t info{};
    // WNOWAIT: the ended child stays a zombie, holding its number.
    if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
        info.si_pid == 0) {
        return false;
    }
    status = info.si_code == CLD_EXITED ? W_EXITCODE(info.si_status, 0) : info.si_status;
    return true;
}

void CGroupLeader::EndGroup() {
    if (pid_ <= 0) return;
    Enders().Start(pid_, pidfd_);
    pid_ = -1;
    pidfd_ = -1;
}

std::string DescribeWaitStatus(int status) {
    if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) {
        const int sig = WTERMSIG(status);
        const char* name = strsignal(sig);
        return "signal " + std::to_string(sig) + (name ? std::string(" (") + name + ")" : "");
    }
    return "wait status " + std::to_string(status);
}

}  // namespace platform
