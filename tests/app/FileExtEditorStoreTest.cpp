#include "settings/FileExtEditorStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/TarvikApp.h"
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

}  // namespace
}  // namespace app_test
