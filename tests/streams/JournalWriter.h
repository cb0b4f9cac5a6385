#pragma once
// Real journals for the journal tests, written by the system's own writer
// (systemd-journal-remote reading the export format) into a temporary
// folder, and read back by the system's own reader (journalctl) to tell
// what a selection should show.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "streams/IStreamSource.h"

namespace streams_test {

// A folder of its own for each test, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

struct TestEntry {
    std::uint64_t usec = 0;
    std::string message;
    std::string identifier = "app";
    std::string unit;  // none when empty
    int priority = 6;  // none when negative
    std::string host = "web1";
    std::string pid = "42";
};

// Entries "entry <first>" ... one second apart, from a fixed moment on.
std::vector<TestEntry> Numbered(int first, int count);

// The entries in the journal export format.
std::string ExportText(const std::vector<TestEntry>& entries);

// Writes the entries into the journal file (appending when it exists); true
// when the writer succeeded.
bool WriteJournal(const std::string& file, const std::vector<TestEntry>& entries);

// The same without waiting: the writer's process id, or -1.
pid_t StartJournalWriter(const std::string& file, const std::vector<TestEntry>& entries);
// True when the writer ended well.
bool WaitForWriter(pid_t pid);

// What journalctl prints for the folder with the extra arguments, in the
// short ISO form, with line feeds.
std::string Journalctl(const std::string& folder, const std::vector<std::string>& arguments = {});

// Everything the source has ready, in pieces of at most budget units, as
// UTF-8 with line feeds.
std::string TakeAll(streams::IStreamSource& source, std::size_t budget = 1 << 16);

// The numbers of the "entry N" lines of text, in order.
std::vector<int> EntryNumbers(const std::string& text);

}  // namespace streams_test
