// The .log association: its entries in the class root, including a .log key
// that already names another file type, the program that moved, and the
// desktop's default application for .log files set and given back, read
// with the real xdg-mime in a private desktop configuration; and the web
// browser registered for .htm, which opens addresses when the desktop's
// opener cannot.

#include "app/LogAssociation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "RecordingProgram.h"
#include "app/DesktopLogDefault.h"
#include "app/HelpPages.h"
#include "app/RecordingUi.h"
#include "platform/CodePage.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "settings/TempDesktop.h"
#include "settings/TempRegistry.h"

namespace app_test {
namespace {

using platform::ERROR_SUCCESS;
using platform::RegKey;
using platform::RegRoot;

constexpr std::u16string_view kCommandKey = u"\\shell\\Ostra Tarvik (Unicode)\\command";

bool ClassKeyExists(std::u16string_view path) {
    RegKey key;
    return key.Open(RegRoot::ClassesRoot, path) == ERROR_SUCCESS;
}

std::u16string ClassDefault(std::u16string_view path) {
    RegKey key;
    std::u16string value;
    if (key.Open(RegRoot::ClassesRoot, path) == ERROR_SUCCESS) key.QueryString(u"", value);
    return value;
}

void SetClassDefault(std::u16string_view path, std::u16string_view value) {
    RegKey key;
    ASSERT_EQ(key.Create(RegRoot::ClassesRoot, path), ERROR_SUCCESS);
    ASSERT_EQ(key.SetString(u"", value), ERROR_SUCCESS);
}

using app_test::RecordingUi;

class LogAssociationTest : public TempRegistryTest {
protected:
    void SetUp() override {
        TempRegistryTest::SetUp();
        ASSERT_TRUE(desktop_.IsValid());
    }

    // A program of the desktop that already opens .log files.
    void InstallOtherViewer() {
        std::ofstream(desktop_.Applications() / "other-viewer.desktop")
            << "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/cat %F\n"
               "MimeType=text/x-log;\n";
        ASSERT_EQ(
            platform::RunAndWait({"xdg-mime", "default", "other-viewer.desktop", "text/x-log"}), 0);
        ASSERT_EQ(app::QueryDesktopLogDefault(), "other-viewer.desktop");
    }

    TempDesktop desktop_;
    const std::u16string program_ = app::RunningProgramPath();
    RecordingUi ui_;
};

TEST_F(LogAssociationTest, AssociatingCreatesTheTypeAndRemovingLeavesOnlyTheTypes) {
    EXPECT_FALSE(app::IsLogAssociated(program_));
    ASSERT_TRUE(app::AssociateLog(program_));
    EXPECT_EQ(ClassDefault(u".log"), u"logfile");
    EXPECT_EQ(ClassDefault(u"logfile"), u"Log File");
    EXPECT_EQ(ClassDefault(std::u16string(u"logfile") + std::u16string(kCommandKey)),
              u"\"" + program_ + u"\" \"%1\"");
    EXPECT_TRUE(app::IsLogAssociated(program_));
    std::u16string shouted = program_;
    for (char16_t& c : shouted) c = (c >= u'a' && c <= u'z') ? c - 32 : c;
    EXPECT_TRUE(app::IsLogAssociated(shouted)) << "the command compares without case";
    EXPECT_FALSE(app::IsLogAssociated(u"/moved/elsewhere/tarvik")) << "the program moved";

    app::UnassociateLog(&ui_);
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_FALSE(app::IsLogAssociated(program_));
    EXPECT_FALSE(ClassKeyExists(u"logfile\\shell\\Ostra Tarvik (Unicode)"));
    EXPECT_TRUE(ClassKeyExists(u"logfile\\shell"));
    EXPECT_EQ(ClassDefault(u".log"), u"logfile");
    EXPECT_EQ(ClassDefault(u"logfile"), u"Log File");

    app::UnassociateLog(&ui_);
    EXPECT_THAT(ui_.messages, ::testing::ElementsAre(app::kUnassociateFailed))
        << "nothing left to delete";
}

TEST_F(LogAssociationTest, AnExistingLogTypeKeepsItsNameAndGetsOnlyTheCommand) {
    SetClassDefault(u".log", u"txtfile");
    ASSERT_TRUE(app::AssociateLog(program_));
    EXPECT_EQ(ClassDefault(u".log"), u"txtfile");
    EXPECT_FALSE(ClassKeyExists(u"logfile"));
    EXPECT_EQ(ClassDefault(std::u16string(u"txtfile") + std::u16string(kCommandKey)),
              u"\"" + program_ + u"\" \"%1\"");
    EXPECT_TRUE(app::IsLogAssociated(program_));

    // A .log key without a type is given one.
    RegKey log;
    ASSERT_EQ(log.Open(RegRoot::ClassesRoot, u".log"), ERROR_SUCCESS);
    log.SetString(u"", u"");
    EXPECT_FALSE(app::IsLogAssociated(program_));
    app::UnassociateLog(&ui_);
    EXPECT_TRUE(ui_.messages.empty()) << "no type: nothing to remove, nothing reported";
    ASSERT_TRUE(app::AssociateLog(program_));
    EXPECT_EQ(ClassDefault(u".log"), u"logfile");
    EXPECT_TRUE(app::IsLogAssociated(program_));
}

TEST_F(LogAssociationTest, TheDesktopDefaultIsTakenAndGivenBack) {
    InstallOtherViewer();
    ASSERT_TRUE(app::AssociateLog(program_));
    EXPECT_EQ(app::QueryDesktopLogDefault(), "ostra-tarvik.desktop");
    std::ifstream entry(desktop_.Applications() / "ostra-tarvik.desktop");
    std::string text((std::istreambuf_iterator<char>(entry)), std::istreambuf_iterator<char>());
    EXPECT_THAT(text, ::testing::HasSubstr("MimeType=text/x-log;"));
    ASSERT_TRUE(app::AssociateLog(program_)) << "again: the first previous default stays";

    app::UnassociateLog(&ui_);
    EXPECT_EQ(app::QueryDesktopLogDefault(), "other-viewer.desktop");
}

TEST_F(LogAssociationTest, WithoutAPreviousDefaultOursIsDroppedAgain) {
    ASSERT_EQ(app::QueryDesktopLogDefault(), "");
    std::ofstream(desktop_.MimeAppsList())
        << "[Default Applications]\ntext/html=other-viewer.desktop\n";
    ASSERT_TRUE(app::AssociateLog(program_));
    EXPECT_EQ(app::QueryDesktopLogDefault(), "ostra-tarvik.desktop");

    app::UnassociateLog(&ui_);
    EXPECT_EQ(app::QueryDesktopLogDefault(), "");
    std::ifstream list(desktop_.MimeAppsList());
    std::string text((std::istreambuf_iterator<char>(list)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "[Default Applications]\ntext/html=other-viewer.desktop\n");
}

TEST_F(LogAssociationTest, TheBrowserRegisteredForHtmOpensAddressesWithoutTheDesktopOpener) {
    RecordingProgram browser("browser");
    ASSERT_TRUE(browser.IsValid());
    const std::u16string program = platform::Utf8ToUtf16(browser.Path().string());
    const std::string path = std::getenv("PATH");
    // Only the browser's folder: xdg-open cannot be found.
    setenv("PATH", browser.Folder().c_str(), 1);
    const bool withoutType = app::OpenUrl(u"https://example.org/");
    SetClassDefault(u".htm", u"htmlfile");
    SetClassDefault(u"htmlfile\\shell\\open\\command", u"\"" + program + u"\" -new \"%1\" --after");
    const bool opened = app::OpenUrl(u"https://example.org/?q=1&r=2");
    setenv("PATH", path.c_str(), 1);
    EXPECT_FALSE(withoutType);
    ASSERT_TRUE(opened);
    EXPECT_EQ(browser.ReadArguments(), "-new|https://example.org/?q=1&r=2|")
        << "the command is cut at its \"%1\"";
}

TEST(DesktopEntryTest, ExecLineQuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(app::DesktopExecLine("/usr/bin/tarvik"), "/usr/bin/tarvik %F");
    EXPECT_EQ(app::DesktopExecLine("/opt/my apps/tar$vik"), "\"/opt/my apps/tar\\\\$vik\" %F");
    // A percent sign would start a field code, a line break end the entry's line.
    EXPECT_EQ(app::DesktopExecLine("/opt/100%/tarvik"), "\"/opt/100%%/tarvik\" %F");
    EXPECT_EQ(app::DesktopExecLine("/opt/a\nb/tarvik"), "\"/opt/a\\nb/tarvik\" %F");
}

}  // namespace
}  // namespace app_test
