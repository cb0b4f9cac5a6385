// The actions of highlight filters on lines of a document: which filters act,
// how often, in which order, what they write, print and mail, and the
// first-occurrence rule of e-mails. Files and programs are real; mail and
// printer are fakes at their ports.

#include "filters/HighlightActions.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "filters/AsciiFold.h"
#include "filters/HighlightActionFakes.h"
#include "filters/HighlightTestFilters.h"
#include "filters/MatchedLineFile.h"
#include "platform/CodePage.h"
#include "platform/File.h"
#include "platform/SettableClock.h"

namespace filters {
namespace {

using highlight_test::FakeMail;
using highlight_test::FakePrinter;
using highlight_test::Filter;

// Tue 08 Dec 2026 21:05:03 UTC.
constexpr std::int64_t kEvening = 1796763903;

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Utf16Bytes(std::u16string_view text) {
    std::string bytes;
    for (const char16_t ch : text) {
        bytes.push_back(static_cast<char>(ch & 0xFF));
        bytes.push_back(static_cast<char>(ch >> 8));
    }
    return bytes;
}

class HighlightActionsTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarvik-actions-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::u16string Path16(const std::string& name) const {
        return platform::Utf8ToUtf16((dir_ / name).string());
    }

    ActionDocument Document(const std::vector<std::u16string>& lines, std::u16string path,
                            DocumentRef ref) {
        path_ = std::move(path);
        folded_ = FoldedAsciiLower(path_);
        ActionDocument document;
        document.ref = ref;
        document.path = path_;
        document.foldedPath = folded_;
        document.logName = path_;
        document.lineAt = [&lines](int line) { return std::u16string_view(lines[line]); };
        return document;
    }

    void Run(const std::vector<std::u16string>& lines, int first, int last,
             std::u16string path = u"/var/log/app.log", DocumentRef ref = nullptr) {
        const ActionDocument document = Document(lines, std::move(path), ref ? ref : &docA_);
        RunHighlightActions(filters_, document, first, last, ports_);
    }

    static HighlightFilter Acting(std::u16string_view phrase) {
        HighlightFilter filter = Filter(phrase, 1);
        filter.SendEmail = true;
        filter.PrintLineToDefaultPrinter = true;
        return filter;
    }

    std::filesystem::path dir_;
    CHighlightFilters filters_;
    FakeMail mail_;
    FakePrinter printer_;
    platform_test::SettableClock clock_{kEvening};
    HighlightActionPorts ports_{clock_, &mail_, nullptr, nullptr, &printer_, nullptr, {}};
    std::u16string path_, folded_;
    int docA_ = 0, docB_ = 0;
};

// Three occurrences in one line: each action once. Empty lines are skipped,
// disabled filters and filters without actions do nothing, and one call
// makes one print job in line order, filter order within a line.
TEST_F(HighlightActionsTest, EachMatchingFilterActsOncePerLineAndPrintsInOneJob) {
    HighlightFilter write = Acting(u"error");
    write.WriteFile = true;
    write.WrittenFile = Path16("matched.txt");
    HighlightFilter second = Acting(u"disk");
    HighlightFilter disabled = Acting(u"error");
    disabled.Enable = false;
    HighlightFilter colourOnly = Filter(u"error", 2);
    filters_.Replace({write, second, disabled, colourOnly});

    const std::vector<std::u16string> lines = {u"ERROR error Error", u"", u"disk ERROR", u"ok"};
    Run(lines, 0, 3);

    ASSERT_EQ(mail_.sent.size(), 3u);
    EXPECT_EQ(mail_.sent[0].line, lines[0]);
    EXPECT_EQ(mail_.sent[0].phrase, u"error");
    EXPECT_EQ(mail_.sent[1].phrase, u"error");
    EXPECT_EQ(mail_.sent[2].phrase, u"disk");
    ASSERT_EQ(printer_.jobs.size(), 1u);
    EXPECT_EQ(printer_.jobs[0].documentPath, u"/var/log/app.log");
    EXPECT_EQ(printer_.jobs[0].text, u"ERROR error Error\r\ndisk ERROR\r\ndisk ERROR\r\n");
    EXPECT_EQ(ReadBytes(dir_ / "matched.txt"),
              "\xFF\xFE" + Utf16Bytes(u"ERROR error Error\r\ndisk ERROR\r\n"));

    // Nothing matches: no job at all.
    Run({u"fine"}, 0, 0);
    EXPECT_EQ(printer_.jobs.size(), 1u);
}

// A filter restricted to one file acts for that path exactly as written, and
// for the capture document when it names "OutputDebugString" in any A..Z case.
TEST_F(HighlightActionsTest, RestrictedFiltersActOnlyForTheirFile) {
    HighlightFilter restricted = Acting(u"boom");
    restricted.ActionsOnlyAvailableInSpecialFile = true;
    restricted.SetAvailableFile(u"/VAR/log/App.log");
    HighlightFilter capture = Acting(u"boom");
    capture.ActionsOnlyAvailableInSpecialFile = true;
    capture.SetAvailableFile(u"outputdebugSTRING");
    filters_.Replace({restricted, capture});

    const std::vector<std::u16string> lines = {u"boom"};
    Run(lines, 0, 0, u"/VAR/log/App.log");
    Run(lines, 0, 0, u"/var/log/app.log");
    Run(lines, 0, 0, u"/var/log/other.log");
    Run(lines, 0, 0, u"OutputDebugString");
    Run(lines, 0, 0, u"/VAR/log/\u00c4pp.log");
    ASSERT_EQ(mail_.sent.size(), 2u);
    EXPECT_EQ(mail_.sent[0].logName, u"/VAR/log/App.log");
    EXPECT_EQ(mail_.sent[1].logName, u"OutputDebugString");
}

// Previous lines: N before the match, fewer near the top, an empty text for
// a match in the first line, none at all with N = 0 further down.
TEST_F(HighlightActionsTest, PreviousLinesAttachedToTheMail) {
    HighlightFilter five = Filter(u"hit", 1);
    five.SendEmail = true;
    five.AttachPreviousLinesWithEmail = 5;
    HighlightFilter none = Filter(u"HIT", 1, highlight_test::Kind::MatchCase);
    none.SendEmail = true;
    HighlightFilter two = Filter(u"late", 1);
    two.SendEmail = true;
    two.AttachPreviousLinesWithEmail = 2;
    filters_.Replace({five, none, two});

    Run({u"HIT first", u"b", u"hit", u"c", u"d", u"late HIT"}, 0, 5);
    ASSERT_EQ(mail_.sent.size(), 6u);
    EXPECT_EQ(mail_.sent[0].previous, std::u16string());       // five, line 0
    EXPECT_EQ(mail_.sent[1].previous, std::u16string());       // none, line 0: empty, not absent
    EXPECT_EQ(mail_.sent[2].previous, u"HIT first\r\nb\r\n");  // five, line 2
    EXPECT_EQ(mail_.sent[3].previous, u"HIT first\r\nb\r\nhit\r\nc\r\nd\r\n");  // five, line 5
    EXPECT_EQ(mail_.sent[4].previous, std::nullopt);                            // none, line 5
    EXPECT_EQ(mail_.sent[5].previous, u"c\r\nd\r\n");                           // two, line 5
}

// With SendFirstOccured a document is mailed once until it is forgotten;
// another document gets its own e-mail. Other actions still run each time.
TEST_F(HighlightActionsTest, FirstOccurrenceMailsOncePerDocument) {
    HighlightFilter once = Acting(u"ERROR");
    once.SendFirstOccured = true;
    filters_.Replace({once});

    const std::vector<std::u16string> lines = {u"ERROR 1", u"ERROR 2"};
    Run(lines, 0, 1, u"/a.log", &docA_);
    Run(lines, 0, 1, u"/a.log", &docA_);
    Run(lines, 0, 0, u"/b.log", &docB_);
    ASSERT_EQ(mail_.sent.size(), 2u);
    EXPECT_EQ(mail_.sent[0].document, &docA_);
    EXPECT_EQ(mail_.sent[1].document, &docB_);
    EXPECT_EQ(printer_.jobs.size(), 3u);

    filters_.ForgetDocument(&docA_);
    Run(lines, 1, 1, u"/a.log", &docA_);
    EXPECT_EQ(mail_.sent.size(), 3u);
}

// The written record with and without time and file name; the byte-order
// mark only on a new file; the followed file itself is never written.
TEST_F(HighlightActionsTest, WrittenLinesTheirLayoutAndTheirMark) {
    const platform_test::SettableClock clock{kEvening};
    const platform::LocalTime now = clock.Local();
    EXPECT_EQ(MatchedLineTimestamp(now), u"Tue Dec 08 21:05:03 2026");
    EXPECT_EQ(MatchedLineRecord(u"/var/log/app.log", u"x", true, true, now),
              u"[Tue Dec 08 21:05:03 2026] [app.log] x\r\n");
    EXPECT_EQ(MatchedLineRecord(u"/var/log/app.log", u"x", true, false, now), u"[app.log] x\r\n");
    EXPECT_EQ(MatchedLineRecord(u"/var/log/app.log", u"x", false, true, now),
              u"[Tue Dec 08 21:05:03 2026] x\r\n");
    EXPECT_EQ(MatchedLineRecord(u"OutputDebugString", u"x", true, false, now),
              u"[OutputDebugString] x\r\n");
    EXPECT_EQ(MatchedLineRecord(u"/a.log", u"x", false, false, now), u"x\r\n");

    const std::u16string out = Path16("out.txt");
    ASSERT_TRUE(WriteMatchedLine(u"/a.log", out, u"one", false, false, now));
    ASSERT_TRUE(WriteMatchedLine(u"/a.log", out, u"two", false, false, now));
    EXPECT_EQ(ReadBytes(dir_ / "out.txt"), "\xFF\xFE" + Utf16Bytes(u"one\r\ntwo\r\n"));

    std::ofstream(dir_ / "old.txt", std::ios::binary) << "abc";
    ASSERT_TRUE(WriteMatchedLine(u"/a.log", Path16("old.txt"), u"z", false, false, now));
    EXPECT_EQ(ReadBytes(dir_ / "old.txt"), "abc" + Utf16Bytes(u"z\r\n"));

    const std::u16string followed = Path16("followed.log");
    std::ofstream(dir_ / "followed.log", std::ios::binary) << "log";
    EXPECT_FALSE(WriteMatchedLine(followed, followed, u"loop", false, false, now));
    EXPECT_FALSE(WriteMatchedLine(followed, Path16("./followed.log"), u"!", false, false, now));
    EXPECT_EQ(ReadBytes(dir_ / "followed.log"), "log");

    // A folder, a path through a missing folder and a pipe take nothing and
    // hold nothing up.
    EXPECT_FALSE(WriteMatchedLine(u"/a.log", Path16(""), u"x", false, false, now));
    EXPECT_FALSE(WriteMatchedLine(u"/a.log", Path16("missing/x.txt"), u"x", false, false, now));
    ASSERT_EQ(mkfifo((dir_ / "fifo").c_str(), 0600), 0);
    EXPECT_FALSE(WriteMatchedLine(u"/a.log", Path16("fifo"), u"x", false, false, now));
}

// A followed file is never fed, whichever document's line matched and
// whatever name leads to it: relative, with doubled slashes, a symbolic
// link or a hard link. Writing elsewhere goes on.
TEST_F(HighlightActionsTest, NoFollowedFileIsFedUnderAnyName) {
    std::ofstream(dir_ / "app.log", std::ios::binary) << "log";
    std::filesystem::create_symlink(dir_ / "app.log", dir_ / "link.log");
    std::filesystem::create_hard_link(dir_ / "app.log", dir_ / "hard.log");
    platform::FileIdentity followed;
    ASSERT_TRUE(platform::CFile::IdentityOfPath((dir_ / "app.log").string(), followed));
    ports_.followedFiles = [&] { return std::vector<FollowedFile>{{Path16("app.log"), followed}}; };
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    const std::u16string dir16 = platform::Utf8ToUtf16(dir_.string());
    const std::vector<std::u16string> names = {u"./app.log",         u"sub/../app.log",
                                               dir16 + u"//app.log", dir16 + u"/link.log",
                                               dir16 + u"/hard.log", dir16 + u"/elsewhere.txt"};
    for (const std::u16string& name : names) {
        HighlightFilter write = Filter(u"match", 1);
        write.WriteFile = true;
        write.WrittenFile = name;
        filters_.Replace({write});
        // The line matched in the followed file itself, and in another one.
        Run({u"match"}, 0, 0, Path16("app.log"));
        Run({u"match"}, 0, 0, Path16("other.log"));
    }
    std::filesystem::current_path(before);
    EXPECT_EQ(ReadBytes(dir_ / "app.log"), "log");
    EXPECT_EQ(ReadBytes(dir_ / "elsewhere.txt"), "\xFF\xFE" + Utf16Bytes(u"match\r\nmatch\r\n"));
}

// A symbolic link of another user (as planted in /tmp) never leads a write
// into the user's files, nor makes one; the user's own links are followed.
TEST_F(HighlightActionsTest, LinksOfOtherUsersAreNotFollowed) {
    if (geteuid() != 0) GTEST_SKIP() << "giving a link to another user needs root";
    constexpr uid_t kOther = 65534;
    const platform::LocalTime now = clock_.Local();
    std::ofstream(dir_ / "profile", std::ios::binary) << "keep";
    std::filesystem::create_symlink(dir_ / "profile", dir_ / "planted");
    std::filesystem::create_symlink(dir_ / "made-by-link", dir_ / "dangling");
    ASSERT_EQ(lchown((dir_ / "planted").c_str(), kOther, kOther), 0);
    ASSERT_EQ(lchown((dir_ / "dangling").c_str(), kOther, kOther), 0);
    EXPECT_FALSE(WriteMatchedLine(u"/a.log", Path16("planted"), u"x", false, false, now));
    EXPECT_FALSE(WriteMatchedLine(u"/a.log", Path16("dangling"), u"x", false, false, now));
    EXPECT_EQ(ReadBytes(dir_ / "profile"), "keep");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "made-by-link"));

    std::filesystem::create_symlink(dir_ / "profile", dir_ / "mine");
    EXPECT_TRUE(WriteMatchedLine(u"/a.log", Path16("mine"), u"x", false, false, now));
    EXPECT_EQ(ReadBytes(dir_ / "profile"), "keep" + Utf16Bytes(u"x\r\n"));
}

// A burst of matching lines starts at most the throttle's number of programs
// at once and prints as much as the printer takes; the rest is counted and
// told once. Ended programs make room again.
TEST_F(HighlightActionsTest, BurstsStartAtMostSixteenProgramsAndCountTheRest) {
    const std::filesystem::path fifo = dir_ / "hold";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    HighlightFilter wait = Filter(u"go", 1);
    wait.ExecuteProgram = true;
    wait.PrintLineToDefaultPrinter = true;
    wait.ExecutableProgram = u"sh -c \"read x < '" + platform::Utf8ToUtf16(fifo.string()) + u"'\"";
    filters_.Replace({wait});
    CActionThrottle throttle;
    ports_.throttle = &throttle;
    printer_.accept = false;

    const std::vector<std::u16string> burst(40, u"go");
    Run(burst, 0, 39);
    EXPECT_EQ(throttle.RunningPrograms(), CActionThrottle::kMaxRunning);
    testing::internal::CaptureStderr();
    throttle.ReportDropped();
    throttle.ReportDropped();
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find(std::to_string(40 - CActionThrottle::kMaxRunning) +
                        " program starts and 1 print jobs dropped"),
              std::string::npos)
        << told;
    EXPECT_EQ(told.find('\n'), told.size() - 1) << "told once";

    // A writer that comes and goes ends every reader that has the pipe open.
    const auto releaseAll = [&] {
        for (int i = 0; i < 1000 && throttle.RunningPrograms() > 0; ++i) {
            const int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0) close(writer);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    };
    releaseAll();
    EXPECT_EQ(throttle.RunningPrograms(), 0);
    Run({u"go"}, 0, 0);
    EXPECT_EQ(throttle.RunningPrograms(), 1);
    releaseAll();
}

// A program is started without a shell and not waited for; one that does
// not exist is passed over and the other actions still run.
TEST_F(HighlightActionsTest, ProgramsStartWithoutAShellAndMissingOnesArePassedOver) {
    HighlightFilter missing = Acting(u"go");
    missing.ExecuteProgram = true;
    missing.ExecutableProgram = u"/nonexistent/program --flag";
    HighlightFilter touch = Filter(u"go", 1);
    touch.ExecuteProgram = true;
    const std::filesystem::path marker = dir_ / "ran; echo shell";
    touch.ExecutableProgram = u"touch \"" + platform::Utf8ToUtf16(marker.string()) + u"\"";
    filters_.Replace({missing, touch});

    Run({u"go"}, 0, 0);
    EXPECT_EQ(mail_.sent.size(), 1u);
    EXPECT_EQ(printer_.jobs.size(), 1u);
    for (int i = 0; i < 500 && !std::filesystem::exists(marker); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    // The quoted name reached the program as one argument, untouched by a shell.
    EXPECT_TRUE(std::filesystem::exists(marker));
}

}  // namespace
}  // namespace filters
