#include "JournalWriter.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/CodePage.h"
#include "platform/Process.h"

extern char** environ;

namespace streams_test {

namespace {

constexpr std::uint64_t kFirstUsec = 1796777206000000;  // December 2026
constexpr char kWriter[] = "/lib/systemd/systemd-journal-remote";

int exportCounter = 0;

}  // namespace

TempFolder::TempFolder() {
    std::string pattern = std::filesystem::temp_directory_path() / "tarvik-journal-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::vector<TestEntry> Numbered(int first, int count) {
    std::vector<TestEntry> entries;
    for (int i = first; i < first + count; ++i) {
        TestEntry entry;
        entry.usec = kFirstUsec + static_cast<std::uint64_t>(i) * 1000000;
        entry.message = "entry " + std::to_string(i);
        entries.push_back(entry);
    }
    return entries;
}

std::string ExportText(const std::vector<TestEntry>& entries) {
    std::string text;
    auto field = [&text](const std::string& name, const std::string& value) {
        text += name + "=" + value + "\n";
    };
    for (const TestEntry& entry : entries) {
        field("__REALTIME_TIMESTAMP", std::to_string(entry.usec));
        field("__MONOTONIC_TIMESTAMP", std::to_string(entry.usec - kFirstUsec + 1));
        field("_BOOT_ID", "0123456789abcdef0123456789abcdef");
        if (!entry.host.empty()) field("_HOSTNAME", entry.host);
        if (!entry.identifier.empty()) field("SYSLOG_IDENTIFIER", entry.identifier);
        if (!entry.pid.empty()) field("_PID", entry.pid);
        if (entry.priority >= 0) field("PRIORITY", std::to_string(entry.priority));
        if (!entry.unit.empty()) field("_SYSTEMD_UNIT", entry.unit);
        // The binary form takes any bytes: line breaks, control bytes.
        text += "MESSAGE\n";
        std::uint64_t size = entry.message.size();
        for (int byte = 0; byte < 8; ++byte) text += static_cast<char>(size >> (8 * byte) & 0xFF);
        text += entry.message + "\n\n";
    }
    return text;
}

pid_t StartJournalWriter(const std::string& file, const std::vector<TestEntry>& entries) {
    std::string input = file + ".export" + std::to_string(++exportCounter);
    std::ofstream(input, std::ios::binary) << ExportText(entries);
    std::string output = "--output=" + file;
    std::vector<char*> argv = {const_cast<char*>(kWriter), output.data(), const_cast<char*>("-"),
                               nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, kWriter, &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

bool WaitForWriter(pid_t pid) {
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool WriteJournal(const std::string& file, const std::vector<TestEntry>& entries) {
    bool written = WaitForWriter(StartJournalWriter(file, entries));
    // The export text is not a journal; the folder keeps only journals.
    std::error_code ignored;
    std::filesystem::remove(file + ".export" + std::to_string(exportCounter), ignored);
    return written;
}

std::string Journalctl(const std::string& folder, const std::vector<std::string>& arguments) {
    std::vector<std::string> argv = {"journalctl", "--directory=" + folder, "-q", "-o", "short-iso",
                                     "--no-pager"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::string output;
    platform::RunAndWait(argv, &output);
    return output;
}

std::string TakeAll(streams::IStreamSource& source, std::size_t budget) {
    std::u16string text;
    while (source.Take(text, budget)) {
    }
    std::string utf8 = platform::Utf16ToUtf8(text);
    std::string lines;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
        lines += utf8[i];
    }
    return lines;
}

std::vector<int> EntryNumbers(const std::string& text) {
    std::vector<int> numbers;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::size_t at = line.rfind(": entry ");
        if (at != std::string::npos) numbers.push_back(std::atoi(line.c_str() + at + 8));
    }
    return numbers;
}

}  // namespace streams_test
