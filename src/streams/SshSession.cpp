#include "streams/SshSession.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/Process.h"

namespace streams {

namespace {

constexpr std::size_t kReadBytes = 65536;

}  // namespace

std::vector<std::string> SshArguments(const RemoteHost& host) {
    std::vector<std::string> argv{"ssh"};
    if (const char* config = std::getenv("TARVIK_SSH_CONFIG"); config && *config) {
        argv.insert(argv.end(), {"-F", config});
    }
    argv.insert(argv.end(), {"-T", "-x", "-o", "BatchMode=yes", "-o", "ServerAliveInterval=15",
                             "-o", "ServerAliveCountMax=3", "-o", "ConnectTimeout=20", "-o",
                             "ClearAllForwardings=yes", "-o", "LogLevel=ERROR"});
    if (!host.user.empty()) argv.insert(argv.end(), {"-l", host.user});
    if (host.port != 0) argv.insert(argv.end(), {"-p", std::to_string(host.port)});
    argv.insert(argv.end(), {"--", host.host, "exec sh -s"});
    return argv;
}

int CSshSession::Start(const RemoteHost& host, std::string_view script,
                       platform::CReadinessSet& wake) {
    End();
    wake_ = &wake;
    platform::PipedChild child;
    if (const int result = platform::StartWithPipes(SshArguments(host), child); result != 0)
        return result;
    // The script is small: it fits in the pipe at once.
    std::size_t written = 0;
    while (written < script.size()) {
        const ssize_t put = write(child.input, script.data() + written, script.size() - written);
        if (put > 0) {
            written += static_cast<std::size_t>(put);
        } else if (put < 0 && errno == EINTR) {
            continue;
        } else {
            break;
        }
    }
    close(child.input);
    output_ = child.output;
    errorsFd_ = child.errors;
    errors_.clear();
    errorLine_.clear();
    outputEnded_ = false;
    exitSeen_ = false;
    if (!leader_.Adopt(child.pid)) {
        End();
        return ECHILD;
    }
    outputWatched_ = wake.Add(output_);
    wake.Add(errorsFd_);
    wake.Add(leader_.ExitDescriptor());
    return 0;
}

void CSshSession::CloseFd(int& fd) {
    if (fd < 0) return;
    if (wake_) wake_->Remove(fd);
    close(fd);
    fd = -1;
}

void CSshSession::End() {
    if (leader_.IsAdopted() && wake_ && !exitSeen_) wake_->Remove(leader_.ExitDescriptor());
    leader_.EndGroup();
    CloseFd(output_);
    CloseFd(errorsFd_);
    outputWatched_ = false;
}

bool CSshSession::ReadOutput(std::string& out, std::size_t maxBytes) {
    if (output_ < 0) return false;
    char buffer[kReadBytes];
    std::size_t taken = 0;
    while (taken < maxBytes) {
        const ssize_t got = read(output_, buffer, sizeof buffer);
        if (got > 0) {
            out.append(buffer, static_cast<std::size_t>(got));
            taken += static_cast<std::size_t>(got);
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        if (got == 0) {
            outputEnded_ = true;
            CloseFd(output_);
            return false;
        }
        break;
    }
    return true;
}

void CSshSession::WatchOutput(bool watch) {
    if (output_ < 0 || !wake_ || watch == outputWatched_) return;
    if (watch) {
        outputWatched_ = wake_->Add(output_);
    } else {
        wake_->Remove(output_);
        outputWatched_ = false;
    }
}

void CSshSession::ReadErrors(std::string_view controlPrefix, std::vector<std::string>& controls) {
    if (errorsFd_ < 0) return;
    char buffer[kReadBytes];
    for (;;) {
        const ssize_t got = read(errorsFd_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got > 0) errorLine_.append(buffer, static_cast<std::size_t>(got));
        std::size_t start = 0;
        for (std::size_t end; (end = errorLine_.find('\n', start)) != std::string::npos;
             start = end + 1) {
            const std::string_view line(errorLine_.data() + start, end - start);
            if (line.starts_with(controlPrefix)) {
                controls.emplace_back(line.substr(controlPrefix.size()));
            } else {
                errors_.append(line);
                errors_ += '\n';
            }
        }
        errorLine_.erase(0, start);
        // A line that never ends is kept only as what ssh said.
        if (got == 0 || errorLine_.size() > kKeptErrorBytes) {
            errors_ += errorLine_;
            errorLine_.clear();
        }
        if (errors_.size() > kKeptErrorBytes) errors_.erase(0, errors_.size() - kKeptErrorBytes);
        if (got == 0) CloseFd(errorsFd_);
        if (got <= 0) return;
    }
}

bool CSshSession::HasEnded(int& status) {
    if (!leader_.IsAdopted()) return false;
    if (!exitSeen_ && leader_.HasEnded(exitStatus_)) {
        exitSeen_ = true;
        if (wake_) wake_->Remove(leader_.ExitDescriptor());
    }
    if (!exitSeen_ || !outputEnded_ || errorsFd_ >= 0) return false;
    status = exitStatus_;
    return true;
}

std::string CSshSession::LastError() const {
    std::string_view text = errors_;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.remove_suffix(1);
    const std::size_t start = text.find_last_of('\n');
    if (start != std::string_view::npos) text.remove_prefix(start + 1);
    std::string line;
    for (char c : text) line += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    return line;
}

}  // namespace streams
