#include "discovery/CommandLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/SingleInstance.h"

namespace {

using discovery::CommandLineStep;
using discovery::ParseCommandLine;
using Kind = CommandLineStep::Kind;
using Steps = std::vector<CommandLineStep>;

CommandLineStep File(std::u16string path, int line = -1) {
    return {Kind::OpenFile, std::move(path), line};
}

TEST(CommandLine, ProgramNameIsSkippedAndPathsOpenInOrder) {
    EXPECT_TRUE(ParseCommandLine({}).empty());
    EXPECT_TRUE(ParseCommandLine({u"tarvik"}).empty());
    EXPECT_EQ(ParseCommandLine({u"", u"/var/log/a.log", u"b.log"}),
              (Steps{File(u"/var/log/a.log"), File(u"b.log")}));
}

TEST(CommandLine, LineSwitchAppliesToEveryFileAfterIt) {
    EXPECT_EQ(ParseCommandLine({u"", u"a.log", u"-L", u"25", u"b.log", u"c.log"}),
              (Steps{File(u"a.log"), File(u"b.log", 25), File(u"c.log", 25)}));
    EXPECT_EQ(ParseCommandLine({u"", u"-l", u"7", u"a", u"/L", u"9", u"b"}),
              (Steps{File(u"a", 7), File(u"b", 9)}));
}

TEST(CommandLine, LineThatIsNotAPositiveNumberBecomesOne) {
    for (const char16_t* word : {u"word", u"0", u"-4", u"", u"-D"}) {
        EXPECT_EQ(ParseCommandLine({u"", u"-L", word, u"a.log"}), (Steps{File(u"a.log", 1)}))
            << "argument of length " << std::u16string_view(word).size();
    }
    EXPECT_EQ(discovery::GoToLineFromArgument(u"12abc"), 12);
    EXPECT_EQ(discovery::GoToLineFromArgument(u"99999999999999"), 2147483647);
}

TEST(CommandLine, CaptureSwitchActsOnlyOnce) {
    const Steps steps = ParseCommandLine({u"", u"/d", u"a.log", u"-D", u"/d"});
    EXPECT_EQ(steps, (Steps{{Kind::CaptureDebugOutput, u"", -1}, File(u"a.log")}));
}

TEST(CommandLine, SetSwitchOpensTheNamedSetInPlace) {
    EXPECT_EQ(ParseCommandLine({u"", u"a", u"-s", u"Web Logs", u"b"}),
              (Steps{File(u"a"), {Kind::OpenFileSet, u"Web Logs", -1}, File(u"b")}));
}

TEST(CommandLine, LineOrSetSwitchAsLastArgumentDoesNothing) {
    EXPECT_EQ(ParseCommandLine({u"", u"a", u"-S"}), (Steps{File(u"a")}));
    EXPECT_EQ(ParseCommandLine({u"", u"a", u"-L"}), (Steps{File(u"a")}));
}

TEST(CommandLine, FileArgumentsBecomeAbsoluteAndNormalForTheHandOver) {
    const std::filesystem::path cwd = std::filesystem::current_path();
    const auto under = [&cwd](const char* rest) {
        const std::string text = (cwd / rest).lexically_normal().string();
        return std::u16string(text.begin(), text.end());
    };
    EXPECT_EQ(discovery::WithNormalPaths({u"tarvik", u"-L", u"25", u"logs/./a.log", u"-S",
                                          u"My Set", u"/var//log/../log/B.log", u"-d", u"c.log/"}),
              (std::vector<std::u16string>{u"tarvik", u"-L", u"25", under("logs/a.log"), u"-S",
                                           u"My Set", u"/var/log/B.log", u"-d", under("c.log")}));
    EXPECT_TRUE(discovery::WithNormalPaths({}).empty());
}

// What a first instance opens from its own arguments and what a running
// instance opens from the same arguments handed over.
TEST(CommandLine, EmptyArgumentsGiveTheSameStepsInBothInstances) {
    for (const std::vector<std::u16string>& argv :
         std::vector<std::vector<std::u16string>>{{u"t", u"-L", u"", u"/l/a.log"},
                                                  {u"t", u"", u"/l/a.log", u"-s", u"", u"/l/b.log"},
                                                  {u"t", u"-L", u"3", u"", u"/l/a.log", u"-L"},
                                                  {u"t", u"-L", u"-S", u"", u"/l/a.log"}}) {
        const std::vector<std::u16string> own = discovery::WithoutEmptyArguments(argv);
        const auto data = platform::BuildHandOverData({own.begin() + 1, own.end()});
        const auto handed = platform::ParseHandOverData(data);
        ASSERT_TRUE(handed.has_value());
        std::vector<std::u16string> received{u""};
        received.insert(received.end(), handed->begin(), handed->end());
        const Steps steps = ParseCommandLine(own);
        EXPECT_EQ(ParseCommandLine(received), steps);
        EXPECT_TRUE(std::any_of(steps.begin(), steps.end(), [](const CommandLineStep& step) {
            return step.kind == Kind::OpenFile && step.text == u"/l/a.log";
        }));
    }
    EXPECT_EQ(ParseCommandLine(discovery::WithoutEmptyArguments({u"t", u"-L", u"", u"/l/a.log"})),
              (Steps{File(u"/l/a.log")}));
}

TEST(CommandLine, UnknownSwitchesAreIgnoredAndAbsolutePathsStayPaths) {
    EXPECT_EQ(ParseCommandLine({u"", u"-x", u"/q", u"-", u"/dev/log", u"/Logs/a.log"}),
              (Steps{File(u"-"), File(u"/dev/log"), File(u"/Logs/a.log")}));
}

}  // namespace
