#include "InteropSupport.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

extern char** environ;

namespace interop {

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& arguments, bool quiet,
                           bool errorsToOutput) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (quiet) posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (errorsToOutput) posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    std::vector<char*> argv;
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    if (posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    output_ = pipeFds[0];
}

ChildProcess::~ChildProcess() {
    Stop();
    if (output_ >= 0) close(output_);
}

std::optional<std::string> ChildProcess::ReadLine(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto end = pending_.find('\n');
        if (end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return line;
        }
        pollfd entry{output_, POLLIN, 0};
        if (output_ < 0 || poll(&entry, 1, MillisecondsLeft(deadline)) != 1) return std::nullopt;
        char buffer[512];
        const ssize_t got = read(output_, buffer, sizeof buffer);
        if (got <= 0) return std::nullopt;
        pending_.append(buffer, static_cast<std::size_t>(got));
    }
}

int ChildProcess::Wait(int timeoutMs) {
    if (pid_ <= 0) return -1;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (done < 0 || MillisecondsLeft(deadline) == 0) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void ChildProcess::Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    if (Wait(3000) == -1 && pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

bool RunProgram(const std::vector<std::string>& arguments, int timeoutMs) {
    ChildProcess child(arguments, true);
    return child.IsRunning() && child.Wait(timeoutMs) == 0;
}

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvik-smtp-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::string PythonProgram() {
    // The system's Python carries the distribution's aiosmtpd; a Python of
    // another installation first on PATH may not.
    return access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
}

std::string ScriptPath(const std::string& name) {
    return std::string(TARVIK_SOURCE_DIR) + "/tests/interop/" + name;
}

namespace {

bool MakeAuthority(const std::filesystem::path& folder, const std::string& name) {
    const std::string base = (folder / name).string();
    return RunProgram({"openssl",
                       "req",
                       "-x509",
                       "-newkey",
                       "ec",
                       "-pkeyopt",
                       "ec_paramgen_curve:prime256v1",
                       "-nodes",
                       "-keyout",
                       base + ".key",
                       "-out",
                       base + ".pem",
                       "-days",
                       "2",
                       "-subj",
                       "/CN=Tarvik Test " + name,
                       "-addext",
                       "basicConstraints=critical,CA:TRUE",
                       "-addext",
                       "keyUsage=critical,keyCertSign,cRLSign"},
                      20000);
}

bool MakeServerCertificate(const std::filesystem::path& folder, const std::string& name,
                           const std::string& altNames, const std::string& caName) {
    const std::string base = (folder / name).string();
    const std::string ca = (folder / caName).string();
    {
        std::ofstream extensions(base + ".ext");
        extensions << "subjectAltName=" << altNames << "\n"
                   << "basicConstraints=CA:FALSE\n"
                   << "keyUsage=digitalSignature\n"
                   << "extendedKeyUsage=serverAuth\n";
    }
    return RunProgram(
               {"openssl", "req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                "-nodes", "-keyout", base + ".key", "-out", base + ".csr", "-subj", "/CN=" + name},
               20000) &&
           RunProgram({"openssl", "x509", "-req", "-in", base + ".csr", "-CA", ca + ".pem",
                       "-CAkey", ca + ".key", "-CAcreateserial", "-out", base + ".pem", "-days",
                       "2", "-extfile", base + ".ext"},
                      20000);
}

}  // namespace

std::optional<TestCertificates> MakeTestCertificates(const std::filesystem::path& folder) {
    if (!MakeAuthority(folder, "ca") || !MakeAuthority(folder, "otherca") ||
        !MakeServerCertificate(folder, "server", "IP:127.0.0.1,DNS:localhost", "ca") ||
        !MakeServerCertificate(folder, "wrongname", "DNS:elsewhere.example", "ca")) {
        return std::nullopt;
    }
    auto file = [&folder](const char* name) { return (folder / name).string(); };
    return TestCertificates{file("ca.pem"),     file("otherca.pem"),   file("server.pem"),
                            file("server.key"), file("wrongname.pem"), file("wrongname.key")};
}

ScopedEnvironment::ScopedEnvironment(const char* name, const std::optional<std::string>& value)
    : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old;
    if (value) {
        setenv(name, value->c_str(), 1);
    } else {
        unsetenv(name);
    }
}

ScopedEnvironment::~ScopedEnvironment() {
    if (previous_) {
        setenv(name_.c_str(), previous_->c_str(), 1);
    } else {
        unsetenv(name_.c_str());
    }
}

}  // namespace interop
