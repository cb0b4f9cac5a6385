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
// An unfinished line longer than this is handed over as a line of its own.
constexpr std::size_t kLongestLineBytes = 1u << 20;

// The length of text without a UTF-8 sequence cut off at its end.
std::size_t WholeSequences(std::string_view text) {
    std::size_t lead = text.size();
    for (int back = 0; back < 4 && lead > 0; ++back) {
        const unsigned char byte = static_cast<unsigned char>(text[lead - 1]);
        --lead;
        if ((byte & 0xC0) != 0x80) {
            const std::size_t length = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
            return lead + length <= text.size() ? text.size() : lead;
        }
    }
    return text.size();
}

// Lines ending in "\n" (or "\r\n") as lines ending in "\r\n".
void AppendLines(std::string_view bytes, std::u16string& out) {
    const std::u16string text = platform::Utf8ToUtf16(bytes);
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find(u'\n', at);
        if (end == std::u16string::npos) end = text.size();
        std::size_t cut = end;
        if (cut > at && text[cut - 1] == u'\r') --cut;
        out.append(text, at, cut - at);
        out += u"\r\n";
        at = end + 1;
    }
}

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
    pending_.clear();
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
    pending_.append(bytes);
    std::size_t lines = pending_.rfind('\n');
    lines = lines == std::string::npos ? 0 : lines + 1;
    if (lines == 0 && pending_.size() > kLongestLineBytes) {
        lines = WholeSequences(pending_);
        AppendLines(std::string_view(pending_).substr(0, lines), ready_.Text());
        pending_.erase(0, lines);
        return;
    }
    if (lines > 0) {
        AppendLines(std::string_view(pending_).substr(0, lines), ready_.Text());
        pending_.erase(0, lines);
    }
    if (flush && !pending_.empty()) {
        AppendLines(pending_, ready_.Text());
        pending_.clear();
    }
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
