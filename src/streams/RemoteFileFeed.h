#pragma once
// A remote file read through the follow script (RemoteScripts.h): its
// records parsed as they come, the file's bytes made into lines as UTF-8.
// The place is the file's inode and the byte after the last whole data
// record; the first line of a tail that starts inside the file is dropped,
// being only the end of a line.

#include <cstdint>
#include <string>

#include "streams/RemoteFeed.h"
#include "streams/RemoteScripts.h"
#include "streams/Utf8Lines.h"

namespace streams {

class CRemoteFileFeed final : public IRemoteFeed {
public:
    // The most a data record may announce; the script sends at most 1 MiB.
    static constexpr std::uint64_t kLongestRecord = 4u << 20;

    explicit CRemoteFileFeed(std::string path) : path_(std::move(path)) {}

    std::string Script(std::size_t tailUnits) const override;
    bool Consume(std::string_view bytes, RemoteLines& lines) override;
    void ConnectionEnded() override;
    void Forget() override;
    bool InTail() const override { return inTail_; }
    std::u16string Waiting() const override;

    const RemoteFilePlace& Place() const { return place_; }

private:
    bool TakeRecord(std::string_view record, RemoteLines& lines);
    bool Opened(std::string_view inode, std::uint64_t position, std::string_view how,
                RemoteLines& lines);
    void TakeData(std::string_view bytes, RemoteLines& lines);

    std::string path_;
    RemoteFilePlace place_;
    // Bytes not parsed yet: a record's line, or a data record's bytes.
    std::string unparsed_;
    // Of the data record being read: its announced length, and whether its
    // bytes are all here and its count line is awaited.
    std::uint64_t dataLength_ = 0;
    bool inData_ = false;
    bool opened_ = false;
    bool inTail_ = false;
    bool dropToLineEnd_ = false;
    std::string waiting_;
    CUtf8Lines lines_;
};

}  // namespace streams
