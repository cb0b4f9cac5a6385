#include "platform/ProcessStart.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/CodePage.h"
#include "platform/CommandLineArgs.h"

extern char** environ;

namespace platform {

namespace {

// Owns the spawn attributes and file actions for one start.
class SpawnSetup {
public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions_);
        posix_spawnattr_init(&attributes_);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions_);
        posix_spawnattr_destroy(&attributes_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    bool Prepare() {
        sigset_t none;
        sigemptyset(&none);
        // Signals this program ignores or handles (SIGPIPE above all) are
        // the child's to decide.
        sigset_t defaults;
        sigemptyset(&defaults);
        for (const int sig : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGCHLD, SIGUSR1, SIGUSR2})
            sigaddset(&defaults, sig);
        return posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY,
                                                0) == 0 &&
               posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1) == 0 &&
               posix_spawnattr_setsigmask(&attributes_, &none) == 0 &&
               posix_spawnattr_setsigdefault(&attributes_, &defaults) == 0 &&
               posix_spawnattr_setpgroup(&attributes_, 0) == 0 &&
               posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK |
                                                          POSIX_SPAWN_SETSIGDEF |
                                                          POSIX_SPAWN_SETPGROUP) == 0;
    }

    const posix_spawn_file_actions_t* Actions() const { return &actions_; }
    const posix_spawnattr_t* Attributes() const { return &attributes_; }

private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

// The child is not waited for by the caller; a thread of its own collects
// its exit so that it does not stay a zombie.
void ReapLater(pid_t pid) {
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

}  // namespace

bool StartProcess(std::u16string_view commandLine, std::string& error) {
    const std::vector<std::u16string> arguments = SplitCommandLine(commandLine);
    if (arguments.empty() || arguments.front().empty()) {
        error = "no program given";
        return false;
    }
    std::vector<std::string> utf8;
    utf8.reserve(arguments.size());
    for (const std::u16string& argument : arguments) utf8.push_back(Utf16ToUtf8(argument));
    std::vector<char*> argv;
    for (std::string& argument : utf8) argv.push_back(argument.data());
    argv.push_back(nullptr);

    SpawnSetup setup;
    if (!setup.Prepare()) {
        error = "cannot prepare the start";
        return false;
    }
    pid_t pid = 0;
    const int result =
        posix_spawnp(&pid, argv[0], setup.Actions(), setup.Attributes(), argv.data(), environ);
    if (result != 0) {
        error = std::strerror(result);
        return false;
    }
    ReapLater(pid);
    return true;
}

}  // namespace platform
