#include "streams/CommandSource.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Process.h"

namespace streams {

namespace {

constexpr std::size_t kReadBytes = 65536;

}  // namespace

CCommandSource::CCommandSource(std::u16string commandLine, settings::CommandDocumentChoice choice)
    : commandLine_(std::move(commandLine)), choice_(std::move(choice)) {}

CCommandSource::~CCommandSource() {
    Stop();
}

std::u16string CCommandSource::Name() const {
    return std::u16string(kCommandPrefix) + commandLine_;
}

bool CCommandSource::Open(std::size_t, std::u16string& error) {
    return Start(error);
}

bool CCommandSource::Restart(std::size_t, std::u16string& error) {
    Stop();
    ready_.Clear();
    lines_.Clear();
    backOff_ = kFirstBackOff;
    return Start(error);
}

bool CCommandSource::Start(std::u16string& error) {
    nextStart_.reset();
    const std::vector<std::string> argv{"/bin/sh", "-c", platform::Utf16ToUtf8(commandLine_)};
    platform::OutputChild child;
    const std::string folder = platform::Utf16ToUtf8(choice_.folder);
    const int result = platform::StartWithOutput(argv, folder, child);
    if (result != 0) {
        std::string reason = "The command could not start";
        if (!folder.empty()) reason += " in the folder \"" + folder + "\"";
        error = platform::Utf8ToUtf16(reason + ": " + std::strerror(result) + ".");
        return false;
    }
    output_ = child.output;
    if (!leader_.Adopt(child.pid)) {
        CloseOutput();
        error = u"The command could not be watched: no process descriptor.";
        return false;
    }
    outputWatched_ = wake_.Add(output_);
    wake_.Add(leader_.ExitDescriptor());
    ended_ = false;
    exitSeen_ = false;
    status_.clear();
    startedAt_ = Clock::now();
    return true;
}

void CCommandSource::Stop() {
    if (leader_.IsAdopted()) wake_.Remove(leader_.ExitDescriptor());
    leader_.EndGroup();
    CloseOutput();
}

void CCommandSource::CloseOutput() {
    if (output_ < 0) return;
    wake_.Remove(output_);
    close(output_);
    output_ = -1;
    outputWatched_ = false;
}

void CCommandSource::Pump() {
    bool drained = ReadOutput();
    if (!exitSeen_ && leader_.IsAdopted() && leader_.HasEnded(exitStatus_)) {
        exitSeen_ = true;
        wake_.Remove(leader_.ExitDescriptor());
        drained = ReadOutput();
    }
    // What the shell wrote before it ended comes before its end line.
    if (exitSeen_ && !ended_ && drained) Finish(exitStatus_);
    if (nextStart_ && Clock::now() >= *nextStart_) {
        std::u16string error;
        Stop();
        if (!Start(error)) {
            AddText(platform::Utf16ToUtf8(u"[" + error + u"]\n"), false);
            nextStart_ = Clock::now() + backOff_;
            backOff_ = std::min(backOff_ * 2, kLongestBackOff);
        }
    }
}

// Reads what the pipe holds, while no more than kMaxReadyUnits wait; past
// that the pipe is not watched (the command waits) until the document took
// its share. True when the pipe is empty now or closed.
bool CCommandSource::ReadOutput() {
    if (output_ < 0) return true;
    char buffer[kReadBytes];
    while (ready_.Size() < kMaxReadyUnits) {
        const ssize_t got = read(output_, buffer, sizeof buffer);
        if (got > 0) {
            AddText({buffer, static_cast<std::size_t>(got)}, false);
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        if (got == 0) {
            AddText({}, true);
            CloseOutput();
        }
        return true;
    }
    if (outputWatched_) {
        wake_.Remove(output_);
        outputWatched_ = false;
    }
    return false;
}

void CCommandSource::AddText(std::string_view bytes, bool flush) {
    lines_.Add(bytes, ready_.Text(), flush);
}

void CCommandSource::Finish(int status) {
    ended_ = true;
    // An unfinished last line ends before the end line.
    AddText({}, true);
    const std::string how = WIFSIGNALED(status) ? "was ended by " : "ended with ";
    const std::string said = platform::DescribeWaitStatus(status);
    status_ = platform::Utf8ToUtf16("ended, " + said);
    std::string line = "[The command " + how + said + ".";
    if (choice_.restart) {
        // A command that ran steadily for a while starts over quickly.
        if (Clock::now() - startedAt_ >= kSteadyRun) backOff_ = kFirstBackOff;
        line += " It starts again in " + std::to_string(backOff_.count()) + " s.";
        nextStart_ = Clock::now() + backOff_;
        backOff_ = std::min(backOff_ * 2, kLongestBackOff);
    }
    AddText(line + "]\n", false);
}

std::u16string CCommandSource::Status() const {
    return status_;
}

bool CCommandSource::Take(std::u16string& out, std::size_t maxUnits) {
    Pump();
    ready_.Hand(out, maxUnits);
    if (output_ >= 0 && !outputWatched_ && ready_.Size() < kMaxReadyUnits) {
        outputWatched_ = wake_.Add(output_);
    }
    return !ready_.Empty();
}

}  // namespace streams
