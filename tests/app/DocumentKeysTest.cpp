// The per-document keys: window positions and tab aliases.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/TarvikApp.h"
#include "settings/DocPositionStore.h"
#include "settings/FileAliasStore.h"
#include "settings/RegistryPaths.h"
#include "settings/TempRegistry.h"

namespace app_test {
namespace {

using platform::RegKey;
using settings::WindowRect;
using settings::reg_paths::kDocsPos;

using DocPositionTest = TempRegistryTest;

TEST_F(DocPositionTest, PositionIsKeptByPathAndTheCaptureByItsFixedName) {
    app::CTarvikApp app;
    const WindowRect logRect{10, 20, 410, 320};
    const WindowRect captureRect{0, 0, 200, 100};
    EXPECT_TRUE(app.SaveDocPosition(u"/var/log/syslog", false, logRect));
    EXPECT_TRUE(app.SaveDocPosition(u"", true, captureRect));
    EXPECT_EQ(ValueNames(kDocsPos).size(), 2u);

    WindowRect read;
    EXPECT_TRUE(app.LoadDocPosition(u"/var/log/syslog", false, read));
    EXPECT_EQ(read, logRect);
    EXPECT_TRUE(app.LoadDocPosition(u"/ignored/for/capture", true, read));
    EXPECT_EQ(read, captureRect);
    EXPECT_FALSE(app.LoadDocPosition(u"/var/log/other", false, read));
}

// The store compares value names without case; files here differ by case.
TEST_F(DocPositionTest, PathsDifferingInCaseKeepTheirOwnPositionsAndAliases) {
    app::CTarvikApp app;
    const WindowRect upper{1, 2, 301, 202};
    const WindowRect lower{5, 6, 405, 306};
    EXPECT_TRUE(app.SaveDocPosition(u"/var/log/App.log", false, upper));
    EXPECT_TRUE(app.SaveDocPosition(u"/var/log/app.log", false, lower));
    EXPECT_TRUE(app.SaveAlias(u"/var/log/App.log", u"Upper"));
    EXPECT_TRUE(app.SaveAlias(u"/var/log/app.log", u"Lower"));

    WindowRect read;
    EXPECT_TRUE(app.LoadDocPosition(u"/var/log/App.log", false, read));
    EXPECT_EQ(read, upper);
    EXPECT_TRUE(app.LoadDocPosition(u"/var/log/app.log", false, read));
    EXPECT_EQ(read, lower);
    EXPECT_FALSE(app.LoadDocPosition(u"/var/log/APP.log", false, read));
    std::u16string alias;
    EXPECT_TRUE(app.LoadAlias(u"/var/log/App.log", alias));
    EXPECT_EQ(alias, u"Upper");
    EXPECT_TRUE(app.LoadAlias(u"/var/log/app.log", alias));
    EXPECT_EQ(alias, u"Lower");
    EXPECT_FALSE(app.LoadAlias(u"/var/log/APP.LOG", alias));
    // The path stays readable at the start of the name.
    for (const std::u16string& name : ValueNames(kDocsPos)) {
        EXPECT_TRUE(name.starts_with(u"/var/log/")) << std::string(name.begin(), name.end());
    }
}

// Values written before names carried the hash are found once under the bare
// path, with its exact case, and give way to the new name when it is saved.
TEST_F(DocPositionTest, ValuesUnderTheBarePathAreReadOnceAndReplaced) {
    const WindowRect old{3, 4, 303, 204};
    const auto bytes = old.ToBytes();
    CreateKey(kDocsPos).SetBinary(u"/var/log/Old.log", bytes.data(),
                                  static_cast<platform::DWORD>(bytes.size()));
    CreateKey(settings::reg_paths::kFileAlias).SetString(u"/var/log/Old.log", u"Old alias");
    app::CTarvikApp app;
    WindowRect read;
    EXPECT_TRUE(app.LoadDocPosition(u"/var/log/Old.log", false, read));
    EXPECT_EQ(read, old);
    std::u16string alias;
    EXPECT_TRUE(app.LoadAlias(u"/var/log/Old.log", alias));
    EXPECT_EQ(alias, u"Old alias");
    // Another file whose name differs only in case has no value of its own.
    EXPECT_FALSE(app.LoadDocPosition(u"/var/log/old.log", false, read));
    EXPECT_FALSE(app.LoadAlias(u"/var/log/old.log", alias));
    EXPECT_TRUE(app.SaveDocPosition(u"/var/log/old.log", false, WindowRect{0, 0, 9, 9}));
    EXPECT_TRUE(app.SaveAlias(u"/var/log/old.log", u"other"));
    EXPECT_EQ(ValueNames(kDocsPos).size(), 2u);

    const WindowRect moved{7, 8, 107, 108};
    EXPECT_TRUE(app.SaveDocPosition(u"/var/log/Old.log", false, moved));
    EXPECT_TRUE(app.SaveAlias(u"/var/log/Old.log", u"New alias"));
    for (const auto* path : {&kDocsPos, &settings::reg_paths::kFileAlias}) {
        const auto names = ValueNames(*path);
        EXPECT_EQ(names.size(), 2u);
        EXPECT_THAT(names, testing::Not(testing::Contains(std::u16string(u"/var/log/Old.log"))));
    }
    EXPECT_TRUE(app.LoadDocPosition(u"/var/log/Old.log", false, read));
    EXPECT_EQ(read, moved);
    EXPECT_TRUE(app.LoadAlias(u"/var/log/Old.log", alias));
    EXPECT_EQ(alias, u"New alias");
    EXPECT_TRUE(app.LoadAlias(u"/var/log/old.log", alias));
    EXPECT_EQ(alias, u"other");
}

TEST_F(DocPositionTest, ValuesOfTheWrongSizeAreIgnored) {
    WindowRect read{1, 1, 2, 2};
    EXPECT_FALSE(settings::DocPositionStore::Load(u"/a.log", read)) << "no key yet";

    RegKey key = CreateKey(kDocsPos);
    for (std::size_t size : {0u, 15u, 17u, 32u}) {
        const std::vector<std::uint8_t> bytes(size, 7);
        key.SetBinary(u"/a.log", bytes.data(), static_cast<platform::DWORD>(bytes.size()));
        EXPECT_FALSE(settings::DocPositionStore::Load(u"/a.log", read)) << size << " bytes";
        EXPECT_EQ(read, (WindowRect{1, 1, 2, 2}));
    }
}

TEST_F(DocPositionTest, EmptyNameIsNoDocument) {
    WindowRect read;
    EXPECT_FALSE(settings::DocPositionStore::Save(u"", WindowRect{0, 0, 5, 5}));
    EXPECT_FALSE(settings::DocPositionStore::Load(u"", read));
}

using FileAliasTest = TempRegistryTest;

TEST_F(FileAliasTest, AliasIsKeptByPathAndReadAtAnyLength) {
    app::CTarvikApp app;
    const std::u16string longAlias(3000, u'\u00e4');
    EXPECT_TRUE(app.SaveAlias(u"/var/log/syslog", u"System"));
    EXPECT_TRUE(app.SaveAlias(u"/var/log/long", longAlias));

    std::u16string alias;
    EXPECT_TRUE(app.LoadAlias(u"/var/log/syslog", alias));
    EXPECT_EQ(alias, u"System");
    EXPECT_TRUE(app.LoadAlias(u"/var/log/long", alias));
    EXPECT_EQ(alias, longAlias);
}

TEST_F(FileAliasTest, MissingOrEmptyValueMeansNoAlias) {
    std::u16string alias = u"unchanged";
    EXPECT_FALSE(settings::FileAliasStore::Load(u"/x.log", alias)) << "no key";
    settings::FileAliasStore::Save(u"/x.log", u"");
    EXPECT_FALSE(settings::FileAliasStore::Load(u"/x.log", alias));
    EXPECT_FALSE(settings::FileAliasStore::Load(u"/y.log", alias));
    EXPECT_EQ(alias, u"unchanged");
}

}  // namespace
}  // namespace app_test
