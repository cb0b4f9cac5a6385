// Remote files and journals through the system's OpenSSH client and a real
// sshd on 127.0.0.1 (tests/support/test-sshd): lines once and in order
// through rotation and dropped connections, a file replaced while the
// connection was down, hosts that cannot be logged in to, a remote journal
// read as a local one; and what the far side sends, read as hostile.

#include "streams/RemoteSource.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "JournalWriter.h"
#include "platform/CodePage.h"
#include "streams/JournalSource.h"
#include "streams/RemoteFileFeed.h"
#include "streams/RemoteJournalFeed.h"

namespace streams_test {
namespace {

using namespace std::string_view_literals;

const std::string kServer = std::string(TARVIK_SOURCE_DIR) + "/tests/support/test-sshd";

// Keeps the tail at open apart from what is new, as the document does.
struct SplitIntake final : streams::IStreamIntake {
    void TakeText(char16_t* text, std::size_t units, bool) override {
        fresh += platform::Utf16ToUtf8({text, units});
    }
    void TakeTailText(char16_t* text, std::size_t units) override {
        tail += platform::Utf16ToUtf8({text, units});
    }
    std::string tail;
    std::string fresh;
};

std::string WithoutCr(std::string text) {
    std::erase(text, '\r');
    return text;
}

void Append(const std::string& file, int first, int last) {
    std::ofstream out(file, std::ios::app);
    for (int i = first; i <= last; ++i) out << "app: entry " << i << "\n";
}

std::vector<int> Range(int first, int last) {
    std::vector<int> numbers;
    for (int i = first; i <= last; ++i) numbers.push_back(i);
    return numbers;
}

class RemoteSourceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server_ = new TempFolder();
        serverUp_ = std::system((kServer + " start " + server_->Path() + "/sshd").c_str()) == 0;
        setenv("TARVIK_SSH_CONFIG", (server_->Path() + "/sshd/ssh_config").c_str(), 1);
    }
    static void TearDownTestSuite() {
        std::system((kServer + " stop " + server_->Path() + "/sshd").c_str());
        unsetenv("TARVIK_SSH_CONFIG");
        delete server_;
    }
    void SetUp() override { ASSERT_TRUE(serverUp_) << "the test's sshd did not start"; }

    static void DropConnections() {
        ASSERT_EQ(std::system((kServer + " drop " + server_->Path() + "/sshd").c_str()), 0);
    }

    static std::unique_ptr<streams::CRemoteSource> Opened(const std::string& name) {
        streams::RemoteQuery query;
        std::u16string error;
        EXPECT_TRUE(streams::ParseRemoteName(platform::Utf8ToUtf16(name), query, error))
            << platform::Utf16ToUtf8(error);
        auto source = std::make_unique<streams::CRemoteSource>(query);
        EXPECT_TRUE(source->Open(1 << 20, error)) << platform::Utf16ToUtf8(error);
        return source;
    }

    // Waits on the source's descriptor as the event loop does, taking what
    // it has, until done says so; bounded, so a fault fails, never hangs.
    template <typename Done>
    static void FollowUntil(streams::CRemoteSource& source, SplitIntake& intake, Done done,
                            int rounds = 300) {
        for (int i = 0; i < rounds && !done(); ++i) {
            pollfd wake{source.WakeDescriptor(), POLLIN, 0};
            if (poll(&wake, 1, 50) > 0) source.ProcessWake();
            while (source.Deliver(intake, 1 << 16)) {
            }
        }
    }

    static std::size_t Count(const std::string& text, const std::string& part) {
        std::size_t count = 0;
        for (std::size_t at = text.find(part); at != std::string::npos;
             at = text.find(part, at + 1))
            ++count;
        return count;
    }

    static TempFolder* server_;
    static bool serverUp_;
    TempFolder folder_;
};

TempFolder* RemoteSourceTest::server_ = nullptr;
bool RemoteSourceTest::serverUp_ = false;

TEST_F(RemoteSourceTest, AFileArrivesOnceInOrderThroughRotationAndDroppedConnections) {
    const std::string log = folder_.File("app.log");
    Append(log, 1, 100);
    auto source = Opened("ssh://tarvik-key" + log);
    SplitIntake intake;
    const auto has = [&](int last) {
        return [&intake, last] {
            const std::vector<int> numbers = EntryNumbers(intake.tail + intake.fresh);
            return !numbers.empty() && numbers.back() >= last;
        };
    };
    FollowUntil(*source, intake, has(100));
    // The tail at open is what was there; it runs no actions.
    EXPECT_EQ(EntryNumbers(intake.tail), Range(1, 100));
    EXPECT_TRUE(intake.fresh.empty()) << intake.fresh;

    Append(log, 101, 2000);
    DropConnections();
    Append(log, 2001, 3000);
    FollowUntil(*source, intake, has(3000));
    ASSERT_EQ(std::rename(log.c_str(), (log + ".1").c_str()), 0);
    Append(log, 3001, 4000);
    FollowUntil(*source, intake, has(4000));
    DropConnections();
    Append(log, 4001, 5000);
    FollowUntil(*source, intake, has(5000));
    // Cut to nothing and written again, then dropped once the far side saw
    // the cut (within a second): the place is in the new text.
    std::filesystem::resize_file(log, 0);
    Append(log, 5001, 6000);
    FollowUntil(*source, intake, has(6000));
    FollowUntil(
        *source, intake, [] { return false; }, 30);
    DropConnections();
    Append(log, 6001, 7000);
    FollowUntil(*source, intake, has(7000));

    EXPECT_EQ(EntryNumbers(intake.tail + intake.fresh), Range(1, 7000));
    // Each drop says so in one line, and nothing says a place was lost.
    EXPECT_EQ(Count(intake.fresh, "Connecting again in 1 s."), 3u) << intake.fresh;
    EXPECT_EQ(Count(intake.fresh, "replaced"), 0u);
    EXPECT_EQ(source->Status(), u"");
}

TEST_F(RemoteSourceTest, AFileReplacedWhileDisconnectedSaysSoAndGoesOnFromTheNewStart) {
    const std::string log = folder_.File("app.log");
    Append(log, 1, 10);
    auto source = Opened("ssh://tarvik-key" + log);
    SplitIntake intake;
    FollowUntil(*source, intake, [&] { return EntryNumbers(intake.tail).size() == 10; });
    DropConnections();
    // Rotated before the connection is made again (a second later).
    Append(log, 11, 12);
    ASSERT_EQ(std::rename(log.c_str(), (log + ".1").c_str()), 0);
    Append(log, 101, 110);
    FollowUntil(*source, intake, [&] {
        const std::vector<int> numbers = EntryNumbers(intake.fresh);
        return !numbers.empty() && numbers.back() == 110;
    });
    const std::string fresh = WithoutCr(intake.fresh);
    EXPECT_EQ(Count(fresh, "[The remote file was replaced while the connection was down"), 1u)
        << fresh;
    EXPECT_LT(fresh.find("replaced"), fresh.find("entry 101"));
    EXPECT_EQ(EntryNumbers(fresh), Range(101, 110));
}

TEST_F(RemoteSourceTest, HostsThatCannotBeLoggedInToFailAtOnceWithTheReason) {
    const std::string log = folder_.File("app.log");
    Append(log, 1, 1);
    struct Case {
        std::string host;
        std::string reason;
        std::string advice;
    };
    for (const Case& each :
         {Case{"tarvik-password", "Permission denied", "use an SSH key or agent"},
          Case{"tarvik-unknown", "Host key verification failed",
               "host key not known: connect once with ssh first"}}) {
        auto source = Opened("ssh://" + each.host + log);
        SplitIntake intake;
        FollowUntil(*source, intake, [&] { return !intake.fresh.empty(); });
        // Not tried again: still one line after the first back-off.
        FollowUntil(
            *source, intake, [] { return false; }, 30);
        EXPECT_EQ(Count(intake.fresh, "\n"), 1u) << intake.fresh;
        EXPECT_NE(intake.fresh.find(each.reason), std::string::npos) << intake.fresh;
        EXPECT_NE(intake.fresh.find(each.advice), std::string::npos) << intake.fresh;
        EXPECT_TRUE(intake.tail.empty());
        EXPECT_EQ(source->Status(), u"failed");
    }
}

TEST_F(RemoteSourceTest, ARemoteJournalReadsAsALocalOneAndResumesFromItsCursor) {
    const std::string file = folder_.File("system.journal");
    ASSERT_TRUE(WriteJournal(file, Numbered(1, 50)));
    const std::string keys = "?dir=" + folder_.Path() + "&identifier=app";
    auto source = Opened("ssh://tarvik-key/journal" + keys);
    EXPECT_EQ(source->Name(), platform::Utf8ToUtf16("ssh://tarvik-key/journal" + keys));
    SplitIntake intake;
    FollowUntil(*source, intake, [&] { return EntryNumbers(intake.tail).size() == 50; });

    streams::JournalQuery query;
    std::u16string error;
    ASSERT_TRUE(streams::ParseJournalName(platform::Utf8ToUtf16("journal:" + keys), query, error));
    streams::CJournalSource local(query);
    ASSERT_TRUE(local.Open(1 << 20, error));
    EXPECT_EQ(WithoutCr(intake.tail), TakeAll(local));

    ASSERT_TRUE(WriteJournal(file, Numbered(51, 30)));
    FollowUntil(*source, intake, [&] { return EntryNumbers(intake.fresh).size() == 30; });
    DropConnections();
    ASSERT_TRUE(WriteJournal(file, Numbered(81, 20)));
    FollowUntil(*source, intake, [&] { return EntryNumbers(intake.fresh).size() == 50; });
    EXPECT_EQ(EntryNumbers(intake.tail), Range(1, 50));
    EXPECT_EQ(EntryNumbers(intake.fresh), Range(51, 100));
}

// What comes over the connection is the far side's to choose: damaged or
// hostile records end the connection, never the program, and never move
// the place kept for the next one.
TEST(RemoteFeedTest, DamagedRecordsAreRefusedAndNeverMoveThePlace) {
    std::u16string tail, fresh;
    streams::RemoteLines lines{tail, fresh};
    {
        streams::CRemoteFileFeed feed("/var/log/app.log");
        // Bytes may come before what is said of them. The tail starts inside
        // a line: its rest is dropped.
        ASSERT_TRUE(feed.Consume("rt\nwho", lines));
        ASSERT_TRUE(feed.ConsumeControl("O 12 4 start 0 9", lines));
        ASSERT_TRUE(feed.Consume("le\nnew\n", lines));
        EXPECT_EQ(tail, u"whole\r\n");
        EXPECT_EQ(fresh, u"new\r\n");
        // A new stretch said ahead of its bytes splits them where it begins.
        ASSERT_TRUE(feed.ConsumeControl("O 13 0 rotated 20 0", lines));
        ASSERT_TRUE(feed.Consume("end\noldx\n", lines));
        EXPECT_EQ(fresh, u"new\r\nend\r\nold\r\nx\r\n");
        EXPECT_EQ(feed.Place().inode, "13");
        EXPECT_EQ(feed.Place().position, 2u);
        for (const std::string_view bad :
             {"O 12 0 resume 0 0", "O 1x 0 rotated 30 0", "O 13 0 rotated 5 0",
              "O 13 4 truncated 30 0", "O 13 0 start 0 0", "Z", "W sideways", "O 13 0"}) {
            EXPECT_FALSE(feed.ConsumeControl(bad, lines)) << bad;
            EXPECT_EQ(feed.Place().position, 2u) << bad;
        }
        // The next connection goes on exactly where this one stopped.
        feed.ConnectionEnded();
        EXPECT_FALSE(feed.ConsumeControl("O 13 3 resume 0 0", lines));
        EXPECT_TRUE(feed.ConsumeControl("O 13 2 resume 0 0", lines));
        // Bytes said of by nothing are not kept without bound.
        streams::CRemoteFileFeed silent("/x");
        EXPECT_FALSE(silent.Consume(std::string(9u << 20, 'x'), lines));
    }
    {
        streams::CRemoteJournalFeed feed({});
        std::string entry =
            "__CURSOR=s=1;i=2\n__REALTIME_TIMESTAMP=1700000000000000\nSYSLOG_IDENTIFIER=app\n"
            "COREDUMP\n";
        const std::string dump(100000, 'x');
        for (int i = 0; i < 8; ++i) entry += static_cast<char>((dump.size() >> (8 * i)) & 0xFF);
        entry += dump + "\nMESSAGE=after a large field\n\n-- tail end\n";
        tail.clear();
        fresh.clear();
        ASSERT_TRUE(feed.Consume(entry, lines));
        EXPECT_NE(tail.find(u"app: after a large field"), std::u16string::npos);
        EXPECT_EQ(feed.Cursor(), "s=1;i=2");
        EXPECT_FALSE(feed.InTail());
        // A length no sender could mean, and a cursor that is not one.
        EXPECT_FALSE(
            feed.Consume(std::string("MESSAGE\n\xff\xff\xff\xff\xff\xff\xff\xff", 16), lines));
        feed.ConnectionEnded();
        ASSERT_TRUE(feed.Consume("__CURSOR=x';rm -rf ~'\nMESSAGE=m\n\n", lines));
        EXPECT_EQ(feed.Cursor(), "s=1;i=2");
    }
    // Random bytes: refused or taken, never a crash or a hang.
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string bytes(1 + random() % 300, '\0');
        constexpr std::string_view kAlphabet = "OD CKWH0123456789\nstartresumerotated=_-";
        for (char& c : bytes) c = kAlphabet[random() % kAlphabet.size()];
        streams::CRemoteFileFeed file("/x");
        streams::CRemoteJournalFeed journal({});
        file.Consume(bytes, lines);
        for (std::size_t at = 0; at < bytes.size(); at += 24) {
            file.ConsumeControl(std::string_view(bytes).substr(at, 24), lines);
        }
        file.Consume(bytes, lines);
        journal.Consume(bytes, lines);
    }
}

}  // namespace
}  // namespace streams_test
