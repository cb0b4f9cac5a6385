// The per-extension editors: the store, the editor chosen for a file, the
// editor dialogs' checks, and a document opened in its editor and shown in its
// folder by real programs.

#include "settings/FileExtEditorStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "RecordingProgram.h"
#include "app/ExternalEditor.h"
#include "app/RecordingUi.h"
#include "app/TarvikApp.h"
#include "core/DocCommandIds.h"
#include "platform/CodePage.h"
#include "platform/Shell.h"
#include "settings/RegistryPaths.h"
#include "settings/TempRegistry.h"

namespace app_test {
namespace {

using platform::RegKey;
using settings::FileExtEditor;
using settings::FileExtEditorStore;
using settings::reg_paths::kFileExtEditors;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

using FileExtEditorStoreTest = TempRegistryTest;

TEST_F(FileExtEditorStoreTest, SavingReplacesTheWholeListAndLoadingReadsItBack) {
    RegKey key = CreateKey(kFileExtEditors);
    key.SetString(u".stale", u"old-editor");

    app::CTarvikApp app;
    app.SetFileExtEditors({{u".xml", u"xmlcopyeditor"}, {u".log", u"less +F"}});
    ASSERT_TRUE(app.SaveFileExtEditors());
    EXPECT_THAT(ValueNames(kFileExtEditors), UnorderedElementsAre(u".xml", u".log"));

    app::CTarvikApp fresh;
    bool maximized = true;
    settings::WindowRect rect;
    fresh.LoadOptions(maximized, rect);
    EXPECT_THAT(fresh.FileExtEditors(),
                UnorderedElementsAre(FileExtEditor{u".xml", u"xmlcopyeditor"},
                                     FileExtEditor{u".log", u"less +F"}));
}

TEST_F(FileExtEditorStoreTest, EntriesWithoutNameOrCommandOrTooLongAreSkipped) {
    RegKey key = CreateKey(kFileExtEditors);
    key.SetString(u"", u"default-value-editor");
    key.SetString(u".empty", u"");
    key.SetString(u".long", std::u16string(FileExtEditorStore::kMaxCommandChars + 1, u'c'));
    key.SetString(std::u16string(FileExtEditorStore::kMaxExtensionChars + 1, u'e'), u"ed");
    const std::u16string longest(FileExtEditorStore::kMaxCommandChars, u'k');
    key.SetString(u".ok", longest);

    EXPECT_THAT(FileExtEditorStore::Load(), ElementsAre(FileExtEditor{u".ok", longest}));
}

TEST_F(FileExtEditorStoreTest, EntryWithoutExtensionCannotBeSaved) {
    EXPECT_FALSE(FileExtEditorStore::Save({{u"", u"editor"}, {u".txt", u"vi"}}));
    EXPECT_THAT(FileExtEditorStore::Load(), ElementsAre(FileExtEditor{u".txt", u"vi"}));
}

TEST(EditorChoiceTest, TheFileExtensionPicksTheEditorWithoutRegardToCase) {
    const std::vector<FileExtEditor> editors = {
        {u".xml", u"xml-editor"}, {u".log", u"log-editor"}, {u".XML", u"second-xml-editor"}};
    EXPECT_EQ(app::EditorFor(u"/srv/app/config.XML", u"xdg-open", editors), u"xml-editor");
    EXPECT_EQ(app::EditorFor(u"/var/log/app.log", u"xdg-open", editors), u"log-editor");
    EXPECT_EQ(app::EditorFor(u"/var/log/messages", u"xdg-open", editors), u"xdg-open");
    EXPECT_EQ(app::EditorFor(u"/var/log.xml/messages", u"xdg-open", editors), u"xdg-open")
        << "a dot in a folder name is no extension";
    EXPECT_EQ(app::EditorFor(u"/var/log/app.log.1", u"xdg-open", editors), u"xdg-open");
    EXPECT_EQ(app::EditorFor(u"/var/log/app.log", u"xdg-open", {}), u"xdg-open");
    EXPECT_EQ(app::FileExtensionOf(u"/a/b.tar.gz"), u".gz");
}

TEST(EditorChoiceTest, EntryDialogRefusesInItsOrder) {
    const std::vector<FileExtEditor> rows = {{u".log", u"less"}};
    EXPECT_EQ(app::CheckEditorEntry({u"", u"vi"}, true, rows), app::kEditorEntryIncomplete);
    EXPECT_EQ(app::CheckEditorEntry({u".txt", u""}, true, rows), app::kEditorEntryIncomplete);
    EXPECT_EQ(app::CheckEditorEntry({u"txt", u"vi"}, true, rows), app::kEditorEntryNeedsDot);
    EXPECT_EQ(app::CheckEditorEntry({u".LOG", u"vi"}, true, rows),
              u"File extension \".LOG\" is already available.");
    EXPECT_EQ(app::CheckEditorEntry({u".log", u"vi"}, false, rows), std::nullopt)
        << "editing the row keeps its extension";
    EXPECT_EQ(app::CheckEditorEntry({u".txt", u"vi"}, true, rows), std::nullopt);
}

TEST_F(FileExtEditorStoreTest, DefaultEditorDialogSavesTheEditorAndTheWholeList) {
    CreateKey(kFileExtEditors).SetString(u".old", u"old-editor");
    app::CTarvikApp app;
    app::ApplyDefaultEditorDialog(app, u"gedit", {{u".xml", u"xml-editor"}});

    app::CTarvikApp fresh;
    bool maximized = true;
    settings::WindowRect rect;
    fresh.LoadOptions(maximized, rect);
    EXPECT_EQ(fresh.GetOptions().DefaultEditor, u"gedit");
    EXPECT_THAT(fresh.FileExtEditors(), ElementsAre(FileExtEditor{u".xml", u"xml-editor"}));
}

using app_test::RecordingUi;

// A real editor, with a blank in its name, given a path with a blank.
TEST_F(FileExtEditorStoreTest, DocumentOpensInTheEditorOfItsExtension) {
    RecordingProgram editor("my editor");
    ASSERT_TRUE(editor.IsValid());
    const std::filesystem::path log = editor.Folder() / "app 1.LOG";
    std::ofstream(log) << "one\n";

    app::CTarvikApp app;
    RecordingUi ui;
    app.SetUserInterface(&ui);
    app.SetFileExtEditors({{u".log", platform::Utf8ToUtf16(editor.Path().string())}});
    core::CTarvikDoc* doc = app.OpenDocument(platform::Utf8ToUtf16(log.string()));
    ASSERT_NE(doc, nullptr);
    const int waitCursorsBefore = ui.waitCursors;
    ASSERT_TRUE(doc->OnCommand(core::kCmdOpenInEditor));

    const std::string received = editor.ReadArguments();
    EXPECT_EQ(received, log.string() + "|") << "the path is one argument, blanks and all";
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.waitCursors, waitCursorsBefore + 1);

    app.SetFileExtEditors({});
    app.GetOptions().DefaultEditor = u"/no/such/editor";
    ASSERT_TRUE(doc->OnCommand(core::kCmdOpenInEditor));
    EXPECT_THAT(ui.messages, ElementsAre(u"File \"/no/such/editor\" does not exist."));
}

// The file manager is asked over the session bus with gdbus; without gdbus
// the folder opens with xdg-open. Both are recording programs here.
TEST_F(FileExtEditorStoreTest, BrowsingShowsTheFileOrElseOpensItsFolder) {
    RecordingProgram gdbus("gdbus");
    RecordingProgram xdgOpen("xdg-open");
    ASSERT_TRUE(gdbus.IsValid() && xdgOpen.IsValid());
    const std::filesystem::path log = gdbus.Folder() / "a b.log";
    std::ofstream(log) << "one\n";
    app::CTarvikApp app;
    core::CTarvikDoc* doc = app.OpenDocument(platform::Utf8ToUtf16(log.string()));
    ASSERT_NE(doc, nullptr);
    const std::string path = std::getenv("PATH");

    setenv("PATH", gdbus.Folder().c_str(), 1);
    ASSERT_TRUE(doc->OnCommand(core::kCmdBrowseFolder));
    const std::string call = gdbus.ReadArguments();
    setenv("PATH", xdgOpen.Folder().c_str(), 1);
    ASSERT_TRUE(doc->OnCommand(core::kCmdBrowseFolder));
    const std::string fallback = xdgOpen.ReadArguments();
    setenv("PATH", path.c_str(), 1);

    EXPECT_THAT(call, ::testing::HasSubstr("--method|org.freedesktop.FileManager1.ShowItems|['" +
                                           platform::FileUri(log.string()) + "']||"));
    EXPECT_THAT(call, ::testing::HasSubstr("a%20b.log"));
    EXPECT_EQ(fallback, gdbus.Folder().string() + "|");
}

}  // namespace
}  // namespace app_test
