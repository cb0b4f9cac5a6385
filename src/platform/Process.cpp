#include "platform/Process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <signal.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <utility>

#include "platform/ChildReaper.h"
#include "platform/CodePage.h"
#include "platform/CommandLineArgs.h"

extern char** environ;

namespace platform {

namespace {

std::vector<char*> ArgvPointers(const std::vector<std::string>& argv) {
    std::vector<char*> pointers;
    pointers.reserve(argv.size() + 1);
    for (const std::string& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

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

    // Standard input from /dev/null (or inFd), standard output to outFd
    // (inherited when -1), standard error to /dev/null when quiet, or to
    // outFd as well, or to errFd.
    bool Prepare(int outFd, bool quiet, bool errorsToOut = false, int inFd = -1, int errFd = -1) {
        sigset_t none;
        sigemptyset(&none);
        // Signals this program ignores or handles (SIGPIPE above all) are
        // the child's to decide.
        sigset_t defaults;
        sigemptyset(&defaults);
        for (const int sig : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGCHLD, SIGUSR1, SIGUSR2})
            sigaddset(&defaults, sig);
        return (inFd >= 0 ? posix_spawn_file_actions_adddup2(&actions_, inFd, STDIN_FILENO)
                          : posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null",
                                                             O_RDONLY, 0)) == 0 &&
               (outFd < 0 ||
                posix_spawn_file_actions_adddup2(&actions_, outFd, STDOUT_FILENO) == 0) &&
               (!quiet || posix_spawn_file_actions_addopen(&actions_, STDERR_FILENO, "/dev/null",
                                                           O_WRONLY, 0) == 0) &&
               (!errorsToOut ||
                posix_spawn_file_actions_adddup2(&actions_, outFd, STDERR_FILENO) == 0) &&
               (errFd < 0 ||
                posix_spawn_file_actions_adddup2(&actions_, errFd, STDERR_FILENO) == 0) &&
               posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1) == 0 &&
               posix_spawnattr_setsigmask(&attributes_, &none) == 0 &&
               posix_spawnattr_setsigdefault(&attributes_, &defaults) == 0 &&
               posix_spawnattr_setpgroup(&attributes_, 0) == 0 &&
               posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK |
                                                          POSIX_SPAWN_SETSIGDEF |
                                                          POSIX_SPAWN_SETPGROUP) == 0;
    }

    bool StartIn(const std::string& folder) {
        return folder.empty() ||
               posix_spawn_file_actions_addchdir_np(&actions_, folder.c_str()) == 0;
    }

    const posix_spawn_file_actions_t* Actions() const { return &actions_; }
    const posix_spawnattr_t* Attributes() const { return &attributes_; }

private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

// Returns the spawn error (0 on success).
int Spawn(const std::vector<std::string>& argv, int outFd, bool quiet, pid_t& pid) {
    if (argv.empty() || argv.front().empty()) return ENOENT;
    SpawnSetup setup;
    if (!setup.Prepare(outFd, quiet)) return EINVAL;
    std::vector<char*> pointers = ArgvPointers(argv);
    return posix_spawnp(&pid, argv.front().c_str(), setup.Actions(), setup.Attributes(),
                        pointers.data(), environ);
}

int WaitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

StartResult StartDetached(const std::vector<std::string>& argv, std::string* error,
                          std::function<void()> onEnded) {
    pid_t pid = 0;
    const int result = Spawn(argv, -1, false, pid);
    if (result != 0 && error) *error = std::strerror(result);
    if (result == ENOENT || result == ENOTDIR) return StartResult::NotFound;
    if (result != 0) return StartResult::Failed;
    ReapWhenEnded(pid, std::move(onEnded));
    return StartResult::Started;
}

bool StartProcess(std::u16string_view commandLine, std::string& error,
                  std::function<void()> onEnded) {
    const std::vector<std::u16string> arguments = SplitCommandLine(commandLine);
    if (arguments.empty() || arguments.front().empty()) {
        error = "no program given";
        return false;
    }
    std::vector<std::string> argv;
    argv.reserve(arguments.size());
    for (const std::u16string& argument : arguments) argv.push_back(Utf16ToUtf8(argument));
    return StartDetached(argv, &error, std::move(onEnded)) == StartResult::Started;
}

int RunAndWait(const std::vector<std::string>& argv, std::string* output) {
    int pipeFds[2] = {-1, -1};
    if (output && pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
    pid_t pid = 0;
    const int error = Spawn(argv, output ? pipeFds[1] : -1, true, pid);
    if (output) close(pipeFds[1]);
    if (error != 0) {
        if (output) close(pipeFds[0]);
        return -1;
    }
    if (output) {
        char buffer[4096];
        for (;;) {
            const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
            if (got > 0) {
                output->append(buffer, static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                break;
            }
        }
        close(pipeFds[0]);
    }
    return WaitFor(pid);
}

int StartWithOutput(const std::vector<std::string>& argv, const std::string& folder,
                    OutputChild& child) {
    if (argv.empty() || argv.front().empty()) return ENOENT;
    int pipeFds[2] = {-1, -1};
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return errno;
    SpawnSetup setup;
    int result = EINVAL;
    if (setup.Prepare(pipeFds[1], false, true) && setup.StartIn(folder)) {
        std::vector<char*> pointers = ArgvPointers(argv);
        result = posix_spawnp(&child.pid, argv.front().c_str(), setup.Actions(), setup.Attributes(),
                              pointers.data(), environ);
    }
    close(pipeFds[1]);
    if (result != 0) {
        close(pipeFds[0]);
        return result;
    }
    fcntl(pipeFds[0], F_SETFL, fcntl(pipeFds[0], F_GETFL) | O_NONBLOCK);
    child.output = pipeFds[0];
    return 0;
}

int StartWithPipes(const std::vector<std::string>& argv, PipedChild& child) {
    if (argv.empty() || argv.front().empty()) return ENOENT;
    // Each pair: the child's end, then ours.
    int in[2] = {-1, -1}, out[2] = {-1, -1}, err[2] = {-1, -1};
    const auto closeAll = [&] {
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]})
            if (fd >= 0) close(fd);
    };
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
        const int failure = errno;
        closeAll();
        return failure;
    }
    SpawnSetup setup;
    int result = EINVAL;
    if (setup.Prepare(out[1], false, false, in[0], err[1])) {
        std::vector<char*> pointers = ArgvPointers(argv);
        result = posix_spawnp(&child.pid, argv.front().c_str(), setup.Actions(), setup.Attributes(),
                              pointers.data(), environ);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    in[0] = out[1] = err[1] = -1;
    if (result != 0) {
        closeAll();
        return result;
    }
    for (int fd : {in[1], out[0], err[0]}) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    child.input = in[1];
    child.output = out[0];
    child.errors = err[0];
    return 0;
}

std::string ProgramPath() {
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return {};
    return std::string(buffer, static_cast<std::size_t>(length));
}

}  // namespace platform
