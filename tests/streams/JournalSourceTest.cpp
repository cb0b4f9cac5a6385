// The journal source against real journals: what the system's own reader
// shows for the same files and matches, the tail at open, following a
// writer without a repeat or a gap, new files, and damaged input.

#include "streams/JournalSource.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <sstream>

#include "JournalWriter.h"
#include "platform/CodePage.h"
#include "streams/JournalQuery.h"
#include "streams/JournalValues.h"

namespace streams_test {
namespace {

using streams::CJournalSource;
using streams::JournalQuery;

class JournalSourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Not UTC, so the offset in each line is the local one.
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        ASSERT_FALSE(folder_.Path().empty());
    }

    CJournalSource Source(const std::string& extra = "") {
        JournalQuery query;
        std::u16string error;
        EXPECT_TRUE(streams::ParseJournalName(
            platform::Utf8ToUtf16("journal:?dir=" + folder_.Path() + extra), query, error));
        return CJournalSource(query);
    }

    static std::vector<int> Range(int first, int count) {
        std::vector<int> numbers(count);
        std::iota(numbers.begin(), numbers.end(), first);
        return numbers;
    }

    // Takes what arrives while the writer runs, waking on the source's
    // descriptor as an event loop would, and what is left once it ended.
    static std::string Follow(CJournalSource& source, pid_t writer, std::size_t budget) {
        std::string text;
        bool running = writer > 0;
        while (running) {
            pollfd wake{source.WakeDescriptor(), POLLIN, 0};
            if (poll(&wake, 1, 50) > 0) source.ProcessWake();
            text += TakeAll(source, budget);
            running = waitpid(writer, nullptr, WNOHANG) == 0;
        }
        source.ProcessWake();
        return text + TakeAll(source, budget);
    }

    TempFolder folder_;
};

TEST_F(JournalSourceTest, LinesReadAsTheSystemReaderShowsThem) {
    std::vector<TestEntry> entries = Numbered(0, 3);
    entries[1].message = "first line\nsecond line\r\nthird line\n";
    entries[1].pid = "";
    entries[2].message = "caf\xC3\xA9 \xF0\x9F\x98\x80 text";
    entries[2].host = "";
    entries[2].identifier = "";
    for (std::size_t size : {5, 1023, 1400, 10240, 70000}) {
        TestEntry blob = Numbered(static_cast<int>(entries.size()), 1)[0];
        blob.message = std::string(size, '\x01');
        entries.push_back(blob);
    }
    TestEntry invalid = Numbered(static_cast<int>(entries.size()), 1)[0];
    invalid.message = "caf\xC3\xA9 ok\xFF";
    entries.push_back(invalid);
    TestEntry bell = invalid;
    bell.usec += 1000000;
    bell.message = "bell\x07 rings";
    entries.push_back(bell);
    ASSERT_TRUE(WriteJournal(folder_.File("x.journal"), entries));

    CJournalSource source = Source();
    std::u16string error;
    ASSERT_TRUE(source.Open(1 << 20, error)) << platform::Utf16ToUtf8(error);
    std::string shown = TakeAll(source);
    EXPECT_EQ(shown, Journalctl(folder_.Path()));
    EXPECT_NE(shown.find(" blob data]"), std::string::npos) << shown;
    EXPECT_TRUE(source.TakeNotice().empty()) << "a folder of journals needs no notice";
}

TEST_F(JournalSourceTest, MatchesSelectWhatTheSystemReaderSelects) {
    std::vector<TestEntry> entries = Numbered(0, 240);
    const char* units[] = {"a.service", "b.service", "c.service", ""};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].unit = units[i % 4];
        entries[i].priority = static_cast<int>(i / 4 % 9) - 1;  // some have none
        entries[i].identifier = i % 3 == 0 ? "x" : "y";
        entries[i].host = i % 5 == 0 ? "web2" : "web1";
    }
    ASSERT_TRUE(WriteJournal(folder_.File("x.journal"), entries));

    struct Case {
        std::string name;
        std::vector<std::string> matches;
    } cases[] = {
        {"&unit=a&unit=b.service&priority=3",
         {"_SYSTEMD_UNIT=a.service", "_SYSTEMD_UNIT=b.service", "-p", "3"}},
        {"&identifier=x&host=web2", {"SYSLOG_IDENTIFIER=x", "_HOSTNAME=web2"}},
        {"&priority=0&unit=c.service", {"-p", "0", "_SYSTEMD_UNIT=c.service"}},
        {"&unit=none.service", {"_SYSTEMD_UNIT=none.service"}},
    };
    for (const Case& c : cases) {
        CJournalSource source = Source(c.name);
        std::u16string error;
        ASSERT_TRUE(source.Open(1 << 20, error)) << platform::Utf16ToUtf8(error);
        std::string expected = Journalctl(folder_.Path(), c.matches);
        EXPECT_EQ(TakeAll(source, 700), expected) << c.name;
        if (c.name.find("none") == std::string::npos) {
            EXPECT_FALSE(expected.empty()) << c.name;
        }
    }
}

TEST_F(JournalSourceTest, OfferedValuesAreTheJournalsOwnWithinTheirLimits) {
    std::vector<TestEntry> entries = Numbered(0, 60);
    const char* units[] = {"a.service", "b.service", "c.scope", "", "bad\x01unit.service"};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].unit = units[i % 5];
        entries[i].identifier = i % 3 == 0 ? "x" : i % 3 == 1 ? "y" : "";
        entries[i].host = i % 4 == 0 ? "web2" : "web1";
    }
    ASSERT_TRUE(WriteJournal(folder_.File("x.journal"), entries));
    // The system reader's values of a field, one a line, sorted; those that
    // are no line of text left out, as the lists leave them out.
    auto fieldValues = [this](const std::string& field) {
        std::istringstream lines(Journalctl(folder_.Path(), {"-F", field}));
        std::vector<std::string> values;
        for (std::string line; std::getline(lines, line);) {
            if (line.find('\x01') == std::string::npos) values.push_back(line);
        }
        std::sort(values.begin(), values.end());
        return values;
    };
    streams::JournalValues values;
    std::u16string error;
    ASSERT_TRUE(streams::ReadJournalValues(folder_.Path(), values, error))
        << platform::Utf16ToUtf8(error);
    EXPECT_EQ(values.units, fieldValues("_SYSTEMD_UNIT"));
    EXPECT_EQ(values.units.size(), 3u);
    EXPECT_EQ(values.identifiers, fieldValues("SYSLOG_IDENTIFIER"));
    EXPECT_EQ(values.hosts, fieldValues("_HOSTNAME"));
    EXPECT_FALSE(values.incomplete);
    EXPECT_TRUE(streams::JournalValuesNotice(values).empty());

    // A bound on the count cuts the lists and says so.
    ASSERT_TRUE(
        streams::ReadJournalValues(folder_.Path(), values, error, {2, std::chrono::seconds(5)}));
    EXPECT_EQ(values.units.size(), 2u);
    EXPECT_TRUE(values.incomplete);
    EXPECT_FALSE(streams::JournalValuesNotice(values).empty());
    // So does a bound on the time.
    ASSERT_TRUE(
        streams::ReadJournalValues(folder_.Path(), values, error, {2000, std::chrono::seconds(0)}));
    EXPECT_TRUE(values.incomplete);

    // A folder that is gone or holds no journal: the reason, no values.
    EXPECT_FALSE(streams::ReadJournalValues(folder_.File("gone"), values, error));
    EXPECT_NE(platform::Utf16ToUtf8(error).find(folder_.File("gone")), std::string::npos);
    EXPECT_TRUE(values.units.empty());
    std::filesystem::create_directory(folder_.File("empty"));
    error.clear();
    EXPECT_FALSE(streams::ReadJournalValues(folder_.File("empty"), values, error));
    EXPECT_NE(platform::Utf16ToUtf8(error).find("holds no journal"), std::string::npos);
}

TEST_F(JournalSourceTest, TailHoldsTheNewestEntriesThatFitThenFollows) {
    ASSERT_TRUE(WriteJournal(folder_.File("x.journal"), Numbered(0, 150)));
    std::string all = Journalctl(folder_.Path());
    std::vector<std::string> lines;
    std::istringstream reader(all);
    for (std::string line; std::getline(reader, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 150u);

    // The limit ends inside an entry: only the entries wholly within count.
    std::size_t limit = 0;
    for (std::size_t i = 100; i < lines.size(); ++i) {
        limit += platform::Utf8ToUtf16(lines[i]).size() + 2;
    }
    CJournalSource exact = Source();
    CJournalSource within = Source();
    std::u16string error;
    ASSERT_TRUE(exact.Open(limit, error));
    ASSERT_TRUE(within.Open(limit + 7, error));
    EXPECT_EQ(EntryNumbers(TakeAll(exact, 333)), Range(100, 50));
    EXPECT_EQ(EntryNumbers(TakeAll(within)), Range(100, 50));
    ASSERT_TRUE(WriteJournal(folder_.File("x.journal"), Numbered(150, 1)));
    for (CJournalSource* source : {&exact, &within}) {
        source->ProcessWake();
        EXPECT_EQ(EntryNumbers(TakeAll(*source)), Range(150, 1)) << "nothing twice";
    }

    CJournalSource none = Source();
    ASSERT_TRUE(none.Open(0, error));
    EXPECT_EQ(TakeAll(none), "");
    ASSERT_TRUE(WriteJournal(folder_.File("x.journal"), Numbered(200, 2)));
    EXPECT_EQ(EntryNumbers(TakeAll(none)), Range(200, 2));
}

TEST_F(JournalSourceTest, BurstsWhileFollowingArriveAllOnceInOrder) {
    ASSERT_TRUE(WriteJournal(folder_.File("x.journal"), Numbered(0, 1)));
    CJournalSource source = Source();
    std::u16string error;
    ASSERT_TRUE(source.Open(1 << 20, error));
    std::string text = TakeAll(source);
    // Three bursts into the same file, then one into a new file: the
    // writer rotates as journals do.
    const int kBurst = 20000;
    for (int burst = 0; burst < 3; ++burst) {
        pid_t writer =
            StartJournalWriter(folder_.File("x.journal"), Numbered(1 + burst * kBurst, kBurst));
        ASSERT_GT(writer, 0);
        text += Follow(source, writer, 4096);
    }
    pid_t rotated = StartJournalWriter(folder_.File("y.journal"), Numbered(1 + 3 * kBurst, 500));
    text += Follow(source, rotated, 4096);
    std::vector<int> numbers = EntryNumbers(text);
    EXPECT_EQ(numbers.size(), 3u * kBurst + 501);
    EXPECT_TRUE(numbers == Range(0, 3 * kBurst + 501)) << "every entry once and in order";
}

TEST_F(JournalSourceTest, PiecesAreWholeLinesAndNoEntryReadsAsTwo) {
    std::vector<TestEntry> entries = Numbered(0, 4);
    entries[1].message = std::string(5000, 'w') + "\n" + std::string(10, 'v');
    // A sender chooses its identifier; a line break in it forges no entry.
    entries[2].identifier = "evil\n2026-12-09T00:00:00+0000 web1 sshd[1]: forged";
    entries[2].host = "h\r\nx";
    entries[2].pid = "1\r2";
    ASSERT_TRUE(WriteJournal(folder_.File("x.journal"), entries));
    for (std::size_t tail : {std::size_t{1 << 20}, std::size_t{0}}) {
        CJournalSource source = Source();
        std::u16string error;
        ASSERT_TRUE(source.Open(tail, error));
        if (tail == 0) {
            ASSERT_TRUE(WriteJournal(folder_.File("x.journal"), entries));
        }
        std::u16string all;
        std::u16string piece;
        while (source.Take(piece, 100) || !piece.empty()) {
            if (piece.empty()) continue;
            EXPECT_TRUE(piece.ends_with(u"\r\n"));
            EXPECT_TRUE(piece.size() <= 100 || piece.find(u"\r\n") == piece.size() - 2)
                << "a longer line comes alone";
            all += piece;
            piece.clear();
        }
        std::vector<std::u16string> lines;
        for (std::size_t at = 0, end; (end = all.find(u"\r\n", at)) != all.npos; at = end + 2) {
            lines.push_back(all.substr(at, end - at));
        }
        ASSERT_EQ(lines.size(), 5u) << "four entries, one of two lines";
        for (const std::u16string& line : lines) {
            EXPECT_EQ(line.find_first_of(u"\r\n"), line.npos);
        }
        EXPECT_TRUE(lines[2].starts_with(u"     ")) << "the second line of a message is indented";
    }
}

TEST_F(JournalSourceTest, BadFoldersAndDamagedFilesGiveMessagesNeverACrash) {
    CJournalSource missing = Source("/gone");
    std::u16string error;
    EXPECT_FALSE(missing.Open(1000, error));
    EXPECT_NE(platform::Utf16ToUtf8(error).find(folder_.Path() + "/gone"), std::string::npos);

    std::filesystem::create_directory(folder_.File("empty"));
    std::ofstream(folder_.File("empty/notes.txt")) << "not a journal";
    CJournalSource empty = Source("/empty");
    error.clear();
    EXPECT_FALSE(empty.Open(1000, error));
    EXPECT_NE(platform::Utf16ToUtf8(error).find("holds no journal"), std::string::npos);

    CJournalSource file = Source("/empty/notes.txt");
    error.clear();
    EXPECT_FALSE(file.Open(1000, error));
    EXPECT_NE(platform::Utf16ToUtf8(error).find("is not a folder"), std::string::npos);

    // Beside a good journal, damaged ones of other entries: one truncated,
    // one with bytes of its entries overwritten, one with a broken header,
    // and noise.
    ASSERT_TRUE(WriteJournal(folder_.File("good.journal"), Numbered(0, 400)));
    TempFolder elsewhere;
    const std::string other = elsewhere.File("other.journal");
    ASSERT_TRUE(WriteJournal(other, Numbered(1000, 400)));
    std::string bytes;
    {
        std::ifstream in(other, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    auto write = [this](const std::string& name, const std::string& content) {
        std::ofstream(folder_.File(name), std::ios::binary) << content;
    };
    std::string cut = bytes.substr(0, bytes.size() / 3);
    std::string scribbled = bytes;
    for (std::size_t at = 300; at < scribbled.size(); at += 997) scribbled[at] ^= 0x5A;
    std::string header = bytes;
    for (std::size_t at = 8; at < 200; ++at) header[at] = '\xFF';
    write("cut.journal", cut);
    write("scribbled.journal", scribbled);
    write("header.journal", header);
    write("noise.journal", std::string(100000, '\x42'));
    for (std::size_t tail : {std::size_t{0}, std::size_t{1 << 20}}) {
        CJournalSource damaged = Source();
        error.clear();
        ASSERT_TRUE(damaged.Open(tail, error)) << platform::Utf16ToUtf8(error);
        std::string text = TakeAll(damaged, 512);
        if (tail > 0) {
            std::vector<int> numbers = EntryNumbers(text);
            for (int n : Range(0, 400)) {
                EXPECT_NE(std::find(numbers.begin(), numbers.end(), n), numbers.end()) << n;
            }
        }
    }

    // The folder vanishes while a source follows it.
    std::filesystem::remove_all(folder_.Path());
    std::filesystem::create_directory(folder_.Path());
    ASSERT_TRUE(WriteJournal(folder_.File("x.journal"), Numbered(0, 30)));
    CJournalSource vanishing = Source();
    error.clear();
    ASSERT_TRUE(vanishing.Open(1000, error));
    EXPECT_EQ(EntryNumbers(TakeAll(vanishing)).back(), 29);
    std::filesystem::remove_all(folder_.Path());
    vanishing.ProcessWake();
    EXPECT_EQ(TakeAll(vanishing), "");
    std::filesystem::create_directory(folder_.Path());
}

TEST_F(JournalSourceTest, AUserOutsideTheJournalGroupsIsToldOnce) {
    CJournalSource mine{JournalQuery{}};
    std::u16string error;
    ASSERT_TRUE(mine.Open(1000, error)) << platform::Utf16ToUtf8(error);
    if (geteuid() != 0) GTEST_SKIP() << "the check of another user needs root";
    EXPECT_TRUE(mine.TakeNotice().empty()) << "root reads every journal";

    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
        CJournalSource theirs{JournalQuery{}};
        std::u16string failure;
        if (!theirs.Open(1000, failure)) _exit(3);
        std::string notice = platform::Utf16ToUtf8(theirs.TakeNotice());
        bool once = theirs.TakeNotice().empty();
        theirs.Restart(1000, failure);
        once = once && theirs.TakeNotice().empty();
        _exit(notice.find("\"systemd-journal\"") != std::string::npos && once ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace streams_test
