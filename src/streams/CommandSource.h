#pragma once
// A command's output as a stream source: the user's command line run by
// /bin/sh in a process group of its own, standard input from /dev/null,
// standard output and error into the document. Its end shows as one line
// with the exit status or signal; it starts again after a back-off when the
// user asked for that. Closing the source ends the whole group. Output is
// read only as the event loop finds it ready, never blocking; while the
// document takes nothing (paused), at most kMaxReadyUnits wait here and the
// command then waits on its pipe, so nothing is lost.

#include <chrono>
#include <optional>
#include <string>

#include "platform/ProcessGroup.h"
#include "platform/ReadinessSet.h"
#include "settings/CommandDocumentStore.h"
#include "streams/IStreamSource.h"
#include "streams/ReadyLines.h"
#include "streams/Utf8Lines.h"

namespace streams {

inline constexpr std::u16string_view kCommandPrefix = u"cmd:";

class CCommandSource final : public IStreamSource {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t kMaxReadyUnits = 4u << 20;
    static constexpr std::chrono::seconds kFirstBackOff{1};
    static constexpr std::chrono::seconds kLongestBackOff{60};
    // A run this long starts the back-off over.
    static constexpr std::chrono::seconds kSteadyRun{60};

    CCommandSource(std::u16string commandLine, settings::CommandDocumentChoice choice);
    // Ends the command's whole group.
    ~CCommandSource() override;
    CCommandSource(const CCommandSource&) = delete;
    CCommandSource& operator=(const CCommandSource&) = delete;

    std::u16string Name() const override;
    bool Open(std::size_t tailUnits, std::u16string& error) override;
    bool Take(std::u16string& out, std::size_t maxUnits) override;
    int WakeDescriptor() const override { return wake_.Descriptor(); }
    void ProcessWake() override { Pump(); }
    std::u16string TakeNotice() override { return {}; }
    // Ends the running command, if any, and starts it again.
    bool Restart(std::size_t tailUnits, std::u16string& error) override;
    std::u16string Folder() const override { return choice_.folder; }
    std::u16string Status() const override;

private:
    bool Start(std::u16string& error);
    void Stop();
    void Pump();
    bool ReadOutput();
    void AddText(std::string_view bytes, bool flush);
    void Finish(int status);
    void CloseOutput();

    std::u16string commandLine_;
    settings::CommandDocumentChoice choice_;
    platform::CGroupLeader leader_;
    platform::CReadinessSet wake_;
    int output_ = -1;
    bool outputWatched_ = false;
    // The shell ended (exitSeen_), and its end line was shown (ended_).
    bool exitSeen_ = false;
    int exitStatus_ = 0;
    bool ended_ = false;
    std::u16string status_;
    CUtf8Lines lines_;
    CReadyLines ready_;
    Clock::time_point startedAt_{};
    std::chrono::seconds backOff_ = kFirstBackOff;
    std::optional<Clock::time_point> nextStart_;
};

}  // namespace streams
