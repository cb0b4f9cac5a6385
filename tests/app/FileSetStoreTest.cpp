#include "settings/FileSetStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/TarvikApp.h"
#include "settings/PresetFileStore.h"
#include "settings/RegistryPaths.h"
#include "settings/TempRegistry.h"

namespace app_test {
namespace {

using platform::RegKey;
using settings::FileSet;
using settings::FileSetStore;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using FileSetStoreTest = TempRegistryTest;

TEST_F(FileSetStoreTest, SetsRoundTripWithMembersInOrder) {
    std::vector<std::u16string> many;
    for (int i = 1; i <= 12; ++i) many.push_back(u"/logs/" + std::u16string(i, u'n') + u".log");
    app::CTarvikApp app;
    ASSERT_TRUE(
        app.SaveFileSets({{u"Web", {u"/var/log/a.log", u"/var/log/b.log"}}, {u"Many", many}}));

    EXPECT_THAT(app.EnumFileSets(), ElementsAre(u"Many", u"Web"));
    EXPECT_THAT(app.LoadFileSet(u"Web"), ElementsAre(u"/var/log/a.log", u"/var/log/b.log"));
    EXPECT_EQ(app.LoadFileSet(u"many"), many) << "names compare without case; File10 after File9";
}

TEST_F(FileSetStoreTest, SavingReplacesEverySet) {
    ASSERT_TRUE(FileSetStore::SaveAll({{u"Old", {u"/1", u"/2", u"/3"}}, {u"Kept", {u"/k"}}}));
    CreateKey(u"Software\\Ostra Tarvik\\File Sets\\Kept\\Nested");

    ASSERT_TRUE(FileSetStore::SaveAll({{u"Kept", {u"/new"}}}));
    EXPECT_THAT(FileSetStore::EnumNames(), ElementsAre(u"Kept"));
    EXPECT_THAT(FileSetStore::Load(u"Kept"), ElementsAre(u"/new"));
    EXPECT_THAT(ValueNames(u"Software\\Ostra Tarvik\\File Sets\\Kept"), ElementsAre(u"File1"));
    EXPECT_FALSE(KeyExists(u"Software\\Ostra Tarvik\\File Sets\\Kept\\Nested"));

    ASSERT_TRUE(FileSetStore::SaveAll({}));
    EXPECT_THAT(FileSetStore::EnumNames(), IsEmpty());
}

TEST_F(FileSetStoreTest, ReadingStopsAtTheFirstMissingNumberAndSkipsEmptyOrOverlongValues) {
    RegKey set = CreateKey(u"Software\\Ostra Tarvik\\File Sets\\Hand made");
    set.SetString(u"File1", u"");
    set.SetString(u"File2", u"/two");
    set.SetString(u"File3", std::u16string(FileSetStore::kMaxPathChars + 1, u'x'));
    set.SetString(u"File4", u"/four");
    set.SetString(u"File6", u"/six");

    EXPECT_THAT(FileSetStore::Load(u"Hand made"), ElementsAre(u"/two", u"/four"));
    EXPECT_THAT(FileSetStore::Load(u"Absent"), IsEmpty());
}

TEST_F(FileSetStoreTest, NamesThatCannotBeKeyNamesAreRefused) {
    EXPECT_FALSE(FileSetStore::SaveAll({{u"a\\b", {u"/x"}}, {u"", {u"/y"}}, {u"Good", {u"/z"}}}));
    EXPECT_THAT(FileSetStore::EnumNames(), ElementsAre(u"Good"));
    EXPECT_FALSE(KeyExists(u"Software\\Ostra Tarvik\\File Sets\\a"));

    RegKey nested = CreateKey(u"Software\\Ostra Tarvik\\File Sets\\a\\b");
    nested.SetString(u"File1", u"/hidden");
    EXPECT_THAT(FileSetStore::Load(u"a\\b"), IsEmpty()) << "a set name holds no backslash";
}

TEST_F(FileSetStoreTest, NameTooLongForTheStoreMakesSavingFailButKeepsTheOthers) {
    const std::u16string longName(300, u'L');
    EXPECT_FALSE(FileSetStore::SaveAll({{longName, {u"/x"}}, {u"Short", {u"/y"}}}));
    EXPECT_THAT(FileSetStore::EnumNames(), ElementsAre(u"Short"));
    EXPECT_THAT(FileSetStore::Load(longName), IsEmpty());
}

// The preset filter files of the filter dialogs keep the same numbered form.
TEST_F(FileSetStoreTest, PresetFileListsReplaceThemselvesAndStopWhereAValueDoesNotFit) {
    namespace presets = settings::preset_files;
    const std::u16string_view key = settings::reg_paths::kPresetHFFiles;
    EXPECT_THAT(presets::Load(key), IsEmpty());
    ASSERT_TRUE(presets::Save(key, {u"/a.ini", u"", u"/b.hff", u"/c.ini"}));
    EXPECT_THAT(ValueNames(key), ElementsAre(u"File1", u"File2", u"File3"));
    ASSERT_TRUE(presets::Save(key, {u"/b.hff", u"/a.ini"}));
    EXPECT_THAT(presets::Load(key), ElementsAre(u"/b.hff", u"/a.ini"));
    EXPECT_THAT(presets::Load(settings::reg_paths::kPresetIEFFiles), IsEmpty());

    RegKey raw = CreateKey(key);
    raw.SetString(u"File2", u"");
    raw.SetString(u"File3", std::u16string(presets::kMaxPathChars + 1, u'x'));
    raw.SetString(u"File4", u"/after.ini");
    EXPECT_THAT(presets::Load(key), ElementsAre(u"/b.hff"))
        << "an empty value is skipped, one too long to read ends the list";
}

}  // namespace
}  // namespace app_test
