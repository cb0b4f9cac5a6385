// Command lines split as programs on Windows split theirs, and programs
// started from them without a shell.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CommandLineArgs.h"
#include "platform/Process.h"

namespace platform {
namespace {

using Args = std::vector<std::u16string>;

TEST(CommandLine, SplitsAsWindowsProgramsDo) {
    EXPECT_EQ(SplitCommandLine(u"  prog a\tb  "), (Args{u"prog", u"a", u"b"}));
    EXPECT_EQ(SplitCommandLine(u" \t "), Args{});
    // The program's quotes group and its backslashes stay.
    EXPECT_EQ(SplitCommandLine(u"\"C:\\Program Files\\x.exe\" \"a b\" c"),
              (Args{u"C:\\Program Files\\x.exe", u"a b", u"c"}));
    EXPECT_EQ(SplitCommandLine(u"pro\"g x\"y z"), (Args{u"prog xy", u"z"}));
    // 2n backslashes and a quote: n backslashes, the quote groups; 2n+1: a
    // literal quote; backslashes elsewhere stay as they are.
    EXPECT_EQ(SplitCommandLine(u"p a\\\\\"b c\" d"), (Args{u"p", u"a\\b c", u"d"}));
    EXPECT_EQ(SplitCommandLine(u"p a\\\"b"), (Args{u"p", u"a\"b"}));
    EXPECT_EQ(SplitCommandLine(u"p a\\\\b \\\\server\\share"),
              (Args{u"p", u"a\\\\b", u"\\\\server\\share"}));
    // Two quotes inside a quoted part are one literal quote; an empty quoted
    // argument is an argument; an unclosed quote runs to the end.
    EXPECT_EQ(SplitCommandLine(u"p \"a\"\"b\" \"\" \"x y"), (Args{u"p", u"a\"b", u"", u"x y"}));
}

TEST(ProcessStart, ReportsWhatCannotStart) {
    std::string error;
    EXPECT_FALSE(StartProcess(u"   ", error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(StartProcess(u"/nonexistent/program arg", error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(StartProcess(u"no-such-program-anywhere-on-the-path", error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(StartProcess(u"true", error)) << error;
}

}  // namespace
}  // namespace platform
