#include "streams/RemoteJournalFeed.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "streams/RemoteScripts.h"

namespace streams {

namespace {

// The fields a line shows, and the cursor; in fields_ in this order.
constexpr std::array<std::string_view, 7> kKept = {
    "MESSAGE", "_HOSTNAME", "SYSLOG_IDENTIFIER", "_COMM", "_PID", "SYSLOG_PID", "__CURSOR"};
constexpr std::size_t kCursor = 6;
// A cursor is passed back to the far side: only what cursors are made of.
constexpr std::size_t kLongestCursor = 512;

bool IsCursorText(std::string_view text) {
    return !text.empty() && text.size() <= kLongestCursor &&
           std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                      c == '=' || c == ';' || c == '-' || c == '_';
           });
}

int KeptIndex(std::string_view name) {
    for (std::size_t i = 0; i < kKept.size(); ++i)
        if (kKept[i] == name) return static_cast<int>(i);
    return -1;
}

}  // namespace

std::string CRemoteJournalFeed::Script(std::size_t tailUnits) const {
    // About a line of 100 units an entry; the document trims what is more.
    const std::size_t entries = std::clamp<std::size_t>(tailUnits / 100, 1, 100000);
    return RemoteJournalScript(query_, cursor_, entries);
}

void CRemoteJournalFeed::Forget() {
    cursor_.clear();
    ConnectionEnded();
}

void CRemoteJournalFeed::ConnectionEnded() {
    unparsed_.clear();
    inBinary_ = false;
    binaryLength_ = false;
    binaryLeft_ = 0;
    damaged_ = false;
    connected_ = false;
    inTail_ = false;
    ClearEntry();
}

void CRemoteJournalFeed::ClearEntry() {
    for (std::string& field : fields_) field.clear();
    realtime_ = 0;
    hasMessage_ = false;
}

bool CRemoteJournalFeed::Consume(std::string_view bytes, RemoteLines& lines) {
    if (!connected_) {
        connected_ = true;
        // Without a cursor, the script sends the tail first.
        inTail_ = cursor_.empty();
    }
    unparsed_.append(bytes);
    std::string_view rest = unparsed_;
    while (!rest.empty() && Step(rest, lines)) {
    }
    if (damaged_) {
        ConnectionEnded();
        return false;
    }
    unparsed_.erase(0, unparsed_.size() - rest.size());
    return true;
}

bool CRemoteJournalFeed::Step(std::string_view& rest, RemoteLines& lines) {
    if (binaryLength_) {
        if (rest.size() < 8) return false;
        std::uint64_t length = 0;
        for (int i = 7; i >= 0; --i) length = length << 8 | static_cast<unsigned char>(rest[i]);
        rest.remove_prefix(8);
        binaryLength_ = false;
        if (length > (std::uint64_t{1} << 40)) {
            damaged_ = true;
            return false;
        }
        binaryLeft_ = length + 1;  // and the line end after the value
        inBinary_ = true;
        return true;
    }
    if (inBinary_) {
        const int kept = KeptIndex(binaryName_);
        // Kept fields wait whole here (a message up to its limit); others pass.
        if (kept >= 0) {
            if (rest.size() < binaryLeft_) {
                if (binaryLeft_ - 1 <= kMessageLimit) return false;
                // Beyond the limit: keep the start, drop the rest as it comes.
                std::string& field = fields_[kept];
                const std::size_t room = kMessageLimit - std::min(kMessageLimit, field.size());
                field.append(rest.substr(0, std::min(room, rest.size())));
                binaryLeft_ -= rest.size();
                rest = {};
                return false;
            }
            std::string_view value = rest.substr(0, binaryLeft_ - 1);
            if (rest[binaryLeft_ - 1] != '\n') {
                damaged_ = true;
                return false;
            }
            std::string& field = fields_[kept];
            const std::size_t room = kMessageLimit - std::min(kMessageLimit, field.size());
            field.append(value.substr(0, std::min(room, value.size())));
            if (kept == 0) hasMessage_ = true;
            rest.remove_prefix(binaryLeft_);
            inBinary_ = false;
            return true;
        }
        const std::uint64_t skip = std::min<std::uint64_t>(binaryLeft_, rest.size());
        binaryLeft_ -= skip;
        rest.remove_prefix(skip);
        if (binaryLeft_ > 0) return false;
        inBinary_ = false;
        return true;
    }
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) {
        if (rest.size() > kLongestTextField) damaged_ = true;
        return false;
    }
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    if (line.empty()) {
        EndEntry(lines);
        return true;
    }
    if (line == kJournalTailEnd) {
        inTail_ = false;
        return true;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        binaryName_ = line;
        binaryLength_ = true;
        return true;
    }
    TakeField(line.substr(0, equals), line.substr(equals + 1));
    return true;
}

void CRemoteJournalFeed::TakeField(std::string_view name, std::string_view value) {
    if (name == "__REALTIME_TIMESTAMP") {
        std::from_chars(value.data(), value.data() + value.size(), realtime_);
        return;
    }
    const int kept = KeptIndex(name);
    if (kept < 0) return;
    fields_[kept].assign(value.substr(0, std::min(value.size(), kMessageLimit)));
    if (kept == 0) hasMessage_ = true;
}

void CRemoteJournalFeed::EndEntry(RemoteLines& lines) {
    if (IsCursorText(fields_[kCursor])) cursor_ = fields_[kCursor];
    if (hasMessage_) {
        JournalEntryFields entry;
        entry.realtimeUsec = realtime_;
        entry.message = fields_[0];
        entry.host = fields_[1];
        entry.identifier = fields_[2];
        entry.command = fields_[3];
        entry.pid = fields_[4];
        entry.syslogPid = fields_[5];
        AppendJournalEntry(entry, scratch_, inTail_ ? lines.tail : lines.fresh);
    }
    ClearEntry();
}

}  // namespace streams
