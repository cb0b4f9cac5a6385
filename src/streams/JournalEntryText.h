#pragma once
// How one journal entry reads in a document: as the short ISO output of the
// system's journal reader, "2026-12-09T00:46:46+0000 host identifier[pid]:
// message", in the local time zone. A message of several lines continues on
// the following lines, indented under its first; a message that is not text
// (not UTF-8, or with control characters other than tab and line breaks)
// shows as a placeholder with its size, such as "[1.2K blob data]".

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

namespace streams {

// The fields of an entry that its line shows; empty when the entry has none.
struct JournalEntryFields {
    std::uint64_t realtimeUsec = 0;
    std::string_view host;        // _HOSTNAME
    std::string_view identifier;  // SYSLOG_IDENTIFIER
    std::string_view command;     // _COMM, when there is no identifier
    std::string_view pid;         // _PID
    std::string_view syslogPid;   // SYSLOG_PID, when there is no _PID
    std::string_view message;     // MESSAGE
};

// The names of the fields a line shows, in the order ShownFields takes
// their values.
inline constexpr std::string_view kShownFieldNames[] = {"MESSAGE", "_HOSTNAME", "SYSLOG_IDENTIFIER",
                                                        "_COMM",   "_PID",      "SYSLOG_PID"};
inline constexpr std::size_t kShownFieldCount = std::size(kShownFieldNames);

// The fields of an entry from the values of kShownFieldNames, in order.
JournalEntryFields ShownFields(std::uint64_t realtimeUsec,
                               const std::string (&values)[kShownFieldCount]);

// True when message shows as text rather than as a placeholder.
bool IsTextMessage(std::string_view message);

// "5B", "1.0K", "1.5M": a size as the placeholder of a binary message tells it.
std::string BlobSizeText(std::uint64_t bytes);

// Kept by the caller between entries: a line's buffer, so that no line
// allocates once warmed up, and the time text of the last second shown,
// since entries come many to a second.
struct JournalLineScratch {
    std::string line;
    std::int64_t second = -1;
    std::string time;
};

// Appends the entry's lines, each ending in "\r\n", to out.
void AppendJournalEntry(const JournalEntryFields& entry, JournalLineScratch& scratch,
                        std::u16string& out);

}  // namespace streams
