#pragma once
// A remote journal read through the journal script (RemoteScripts.h): the
// journal export format parsed as it comes, each entry shown as a local
// journal document shows it (JournalEntryText.h). The place is the cursor
// of the last whole entry. Fields the line does not show are skipped
// without being kept, however large; a message is kept up to
// kMessageLimit, as when read here.

#include <cstdint>
#include <string>

#include "streams/JournalEntryText.h"
#include "streams/JournalQuery.h"
#include "streams/RemoteFeed.h"

namespace streams {

class CRemoteJournalFeed final : public IRemoteFeed {
public:
    static constexpr std::size_t kMessageLimit = 4u << 20;
    // A field written as text is one line; longer ones come in binary form.
    static constexpr std::size_t kLongestTextField = 8u << 20;

    explicit CRemoteJournalFeed(JournalQuery query) : query_(std::move(query)) {}

    std::string Script(std::size_t tailUnits) const override;
    bool Consume(std::string_view bytes, RemoteLines& lines) override;
    void ConnectionEnded() override;
    void Forget() override;
    bool InTail() const override { return inTail_; }

    const std::string& Cursor() const { return cursor_; }

private:
    // One step of the parse over rest; false when more bytes are needed.
    bool Step(std::string_view& rest, RemoteLines& lines);
    void TakeField(std::string_view name, std::string_view value);
    void EndEntry(RemoteLines& lines);
    void ClearEntry();

    JournalQuery query_;
    std::string cursor_;
    bool inTail_ = false;
    bool connected_ = false;
    bool damaged_ = false;
    std::string unparsed_;
    // A binary field: its name, and how many of its bytes (and the line end
    // after them) are still to come.
    std::string binaryName_;
    std::uint64_t binaryLeft_ = 0;
    bool inBinary_ = false;
    bool binaryLength_ = false;  // its length is awaited
    // The entry being read.
    std::string fields_[7];
    std::uint64_t realtime_ = 0;
    bool hasMessage_ = false;
    JournalLineScratch scratch_;
};

}  // namespace streams
