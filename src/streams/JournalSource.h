#pragma once
// The systemd journal as a stream source: the entries a JournalQuery
// selects, one line each (JournalEntryText.h), the newest that fit the tail
// at open and then each new one as it is written, never one twice and none
// skipped. Files the journal adds, rotates or removes are the library's
// business; the source only keeps the cursor of the last entry it read to
// find its place again when the library says its view of the files changed.
// A damaged journal file is skipped by the library, not fatal.

#include <cstddef>
#include <string>

#include "streams/IStreamSource.h"
#include "streams/JournalEntryText.h"
#include "streams/JournalQuery.h"
#include "streams/ReadyLines.h"

struct sd_journal;

namespace streams {

class CJournalSource final : public IStreamSource {
public:
    // Messages larger than this are cut to it when read (a binary message
    // still tells its size up to it).
    static constexpr std::size_t kMessageLimit = 4u << 20;

    explicit CJournalSource(JournalQuery query);
    ~CJournalSource() override;
    CJournalSource(const CJournalSource&) = delete;
    CJournalSource& operator=(const CJournalSource&) = delete;

    std::u16string Name() const override;
    bool Open(std::size_t tailUnits, std::u16string& error) override;
    bool Take(std::u16string& out, std::size_t maxUnits) override;
    int WakeDescriptor() const override { return wakeFd_; }
    void ProcessWake() override;
    std::u16string TakeNotice() override;
    bool Restart(std::size_t tailUnits, std::u16string& error) override;
    std::u16string Folder() const override;

private:
    void Close();
    bool OpenJournal(std::u16string& error);
    bool AddMatches();
    void ReadTail(std::size_t tailUnits);
    // Places the read position after the last entry read (or before the
    // first when none was read yet).
    void FindPlace();
    // Formats the current entry into out; false when it has no message.
    bool AppendCurrent(std::u16string& out);
    // Moves to the next entry; false at the end (or when the journal fails).
    bool Next();
    void KeepCursor();

    JournalQuery query_;
    sd_journal* journal_ = nullptr;
    int wakeFd_ = -1;
    std::string cursor_;     // of the last entry read; empty when none
    bool onUnread_ = false;  // the position is on an entry not read yet
    CReadyLines ready_;      // whole lines read but not yet handed over
    std::u16string notice_;
    bool noticeGiven_ = false;
    // Buffers kept for reuse between entries.
    std::string fields_[kShownFieldCount];
    JournalLineScratch scratch_;
};

}  // namespace streams
