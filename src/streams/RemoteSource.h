#pragma once
// A remote file or journal as a stream source, read through the system's
// OpenSSH client (SshSession.h) by a script on the far side (RemoteFeed.h).
// A connection that drops (network loss, a server restart, the remote shell
// killed) is made again after a back-off, from 1 s doubling up to 1 min, and
// the feed goes on from its place. A host that wants a password or whose key
// is not known fails at once with ssh's own reason, and is not tried again
// until Reload. Each failed connection says why in one line of the document.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ReadinessSet.h"
#include "streams/IStreamSource.h"
#include "streams/ReadyLines.h"
#include "streams/RemoteFeed.h"
#include "streams/RemoteName.h"
#include "streams/SshSession.h"

namespace streams {

class CRemoteSource final : public IStreamSource {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t kMaxReadyUnits = 4u << 20;
    static constexpr std::chrono::seconds kFirstBackOff{1};
    static constexpr std::chrono::seconds kLongestBackOff{60};

    explicit CRemoteSource(RemoteQuery query);
    ~CRemoteSource() override;
    CRemoteSource(const CRemoteSource&) = delete;
    CRemoteSource& operator=(const CRemoteSource&) = delete;

    std::u16string Name() const override;
    // Starts the first connection; false only when ssh cannot be started.
    bool Open(std::size_t tailUnits, std::u16string& error) override;
    bool Take(std::u16string& out, std::size_t maxUnits) override;
    bool Deliver(IStreamIntake& intake, std::size_t maxUnits) override;
    int WakeDescriptor() const override { return wake_.Descriptor(); }
    void ProcessWake() override { Pump(); }
    std::u16string TakeNotice() override { return {}; }
    bool Restart(std::size_t tailUnits, std::u16string& error) override;
    std::u16string Folder() const override { return {}; }
    std::u16string Status() const override;

private:
    bool Connect(std::u16string& error);
    void Pump();
    bool ReadControls();
    void ReadOutput();
    void Damaged();
    void Ended(int status);
    void Say(const std::string& line);
    std::string HostText() const;

    RemoteQuery query_;
    std::unique_ptr<IRemoteFeed> feed_;
    platform::CReadinessSet wake_;
    CSshSession session_;
    std::size_t tailUnits_ = 0;
    std::string received_;
    std::vector<std::string> controls_;
    CReadyLines tail_;
    CReadyLines fresh_;
    // Something came over the current connection.
    bool heard_ = false;
    // Not to be tried again until Reload.
    bool failed_ = false;
    std::chrono::seconds backOff_ = kFirstBackOff;
    std::optional<Clock::time_point> nextConnect_;
};

}  // namespace streams
