// Starting programs without a shell: command lines split by the Windows
// rules, output collected from a real child, a missing program told apart,
// and file addresses for the file manager.

#include "platform/Process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace {

using ::testing::ElementsAre;

TEST(ProcessTest, CommandLinesSplitByTheWindowsRules) {
    EXPECT_THAT(platform::SplitCommandLine(u"  code  --wait\t-n "),
                ElementsAre(u"code", u"--wait", u"-n"));
    EXPECT_THAT(platform::SplitCommandLine(u"\"/opt/my editor/ed\" \"a b\"c"),
                ElementsAre(u"/opt/my editor/ed", u"a bc"));
    EXPECT_THAT(platform::SplitCommandLine(u"a\\\\\\\"b c\\\\\"d e\" x\\y"),
                ElementsAre(u"a\\\"b", u"c\\d e", u"x\\y"));
    EXPECT_THAT(platform::SplitCommandLine(u"\"say \"\"hi\"\"\" \"\""),
                ElementsAre(u"say \"hi\"", u""));
    EXPECT_TRUE(platform::SplitCommandLine(u" \t ").empty());
}

TEST(ProcessTest, ChildrenRunWithTheirArgumentsAsGiven) {
    std::string output;
    EXPECT_EQ(platform::RunAndWait({"printf", "%s|", "one two", "$HOME", "*"}, &output), 0);
    EXPECT_EQ(output, "one two|$HOME|*|") << "no shell expands anything";
    EXPECT_EQ(platform::RunAndWait({"sh", "-c", "exit 3"}), 3);
    EXPECT_EQ(platform::RunAndWait({"no-such-program-anywhere"}), -1);
    EXPECT_EQ(platform::StartDetached({"no-such-program-anywhere"}),
              platform::StartResult::NotFound);
    EXPECT_EQ(platform::ShellOpen(u"/no/such/editor", u"/tmp/x.log"),
              platform::StartResult::NotFound);
    EXPECT_EQ(platform::StartDetached({"true"}), platform::StartResult::Started);
}

TEST(ProcessTest, FileAddressesEncodeWhatIsNotPlain) {
    EXPECT_EQ(platform::FileUri("/var/log/a b'#%.log"), "file:///var/log/a%20b%27%23%25.log");
    EXPECT_EQ(platform::FileUri("/tmp/\xC3\xA9"), "file:///tmp/%C3%A9");
}

}  // namespace
