// Starting programs without a shell: output collected from a real child, a
// missing program told apart, and file addresses for the file manager.

#include "platform/Process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace {

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
