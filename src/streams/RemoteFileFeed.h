#pragma once
// A remote file read through the follow script (RemoteScripts.h): its bytes
// as they come, made into lines as UTF-8, and what the script says of them
// on the side: which file and byte a stretch of them starts at. The place
// kept between connections is the file's inode and the byte after the last
// one taken. The first line of a tail that starts inside the file is
// dropped, being only the end of a line.

#include <cstdint>
#include <deque>
#include <string>

#include "streams/RemoteFeed.h"
#include "streams/RemoteScripts.h"
#include "streams/Utf8Lines.h"

namespace streams {

class CRemoteFileFeed final : public IRemoteFeed {
public:
    explicit CRemoteFileFeed(std::string path) : path_(std::move(path)) {}

    std::string Script(std::size_t tailUnits) const override;
    bool Consume(std::string_view bytes, RemoteLines& lines) override;
    bool ConsumeControl(std::string_view line, RemoteLines& lines) override;
    void ConnectionEnded() override;
    void Forget() override;
    bool InTail() const override { return !opened_ || received_ < tailEnd_; }
    std::u16string Waiting() const override;

    // Where the next connection goes on.
    RemoteFilePlace Place() const;

private:
    // A stretch of the output: from byte at on, the file inode's from pos.
    struct Stretch {
        std::uint64_t at = 0;
        std::string inode;
        std::uint64_t position = 0;
        std::string how;
    };
    void Begin(const Stretch& stretch, RemoteLines& lines);
    void TakeBytes(std::string_view bytes, RemoteLines& lines);

    std::string path_;
    RemoteFilePlace place_;  // as the last connection left it
    // Of this connection: bytes taken, the stretch they are in, stretches
    // announced ahead of the bytes, and where the tail at open ends.
    std::uint64_t received_ = 0;
    bool opened_ = false;
    Stretch current_;
    std::deque<Stretch> ahead_;
    std::uint64_t tailEnd_ = 0;
    // Bytes that came before the first stretch was announced.
    std::string early_;
    bool dropToLineEnd_ = false;
    std::string waiting_;
    CUtf8Lines lines_;
};

}  // namespace streams
