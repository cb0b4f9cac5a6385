#include "WriterProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

extern char** environ;

namespace follow_test {

namespace {

// A writer that does not answer within this time is taken as hung.
constexpr int kAnswerTimeoutMs = 30000;

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

std::string WriterProcess::ProgramPath() {
    return TARVIK_BINARY_DIR "/tools/tarvik-testwriter";
}

WriterProcess::WriterProcess() {
    int in[2];
    int out[2];
    if (pipe2(in, O_CLOEXEC) != 0) return;
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]);
        close(in[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    std::string program = ProgramPath();
    char* argv[] = {program.data(), nullptr};
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    toWriter_ = in[1];
    fromWriter_ = out[0];
    if (failed == 0) pid_ = pid;
}

WriterProcess::~WriterProcess() {
    if (toWriter_ >= 0) close(toWriter_);
    if (fromWriter_ >= 0) close(fromWriter_);
    if (pid_ > 0) {
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
    }
}

bool WriterProcess::ReadAnswer(std::string& answer) {
    for (;;) {
        const std::size_t newline = pending_.find('\n');
        if (newline != std::string::npos) {
            answer = pending_.substr(0, newline);
            pending_.erase(0, newline + 1);
            return true;
        }
        pollfd ready{fromWriter_, POLLIN, 0};
        const int polled = poll(&ready, 1, kAnswerTimeoutMs);
        if (polled < 0 && errno == EINTR) continue;
        if (polled <= 0) return false;
        char buf[4096];
        const ssize_t n = read(fromWriter_, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        pending_.append(buf, static_cast<std::size_t>(n));
    }
}

std::string WriterProcess::Run(std::string_view line) {
    if (!IsRunning()) return "the writer " + ProgramPath() + " did not start";
    std::string command(line);
    command += '\n';
    if (!WriteAll(toWriter_, command)) return "the writer stopped reading";
    std::string answer;
    if (!ReadAnswer(answer)) return "the writer did not answer";
    return answer == "ok" ? std::string() : answer;
}

std::string WriterProcess::AppendBytes(const std::string& path, std::string_view bytes) {
    return Run("append u8 " + path + " " + EscapeBytes(bytes));
}

std::string WriterProcess::AppendUnits(const std::string& path, std::u16string_view units) {
    return Run("append u16 " + path + " " + EscapeUnits(units));
}

std::string WriterProcess::OverwriteNulsWithUnits(const std::string& path,
                                                  std::u16string_view units) {
    return Run("overwrite u16 " + path + " " + EscapeUnits(units));
}

std::string EscapeBytes(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 4);
    char buf[8];
    for (unsigned char b : bytes) {
        std::snprintf(buf, sizeof buf, "\\x%02x", b);
        out += buf;
    }
    return out;
}

std::string EscapeText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() * 2);
    for (char c : utf8) {
        if (static_cast<unsigned char>(c) < 0x20 || c == '\\') {
            out += EscapeBytes(std::string_view(&c, 1));
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string EscapeUnits(std::u16string_view units) {
    std::string out;
    out.reserve(units.size() * 6);
    char buf[8];
    for (char16_t u : units) {
        std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(u));
        out += buf;
    }
    return out;
}

}  // namespace follow_test
