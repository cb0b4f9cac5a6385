#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/RegistryNames.h"

namespace platform {
namespace {

// Each test gets a store file of its own in a fresh temporary folder.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarvik-registry-XXXXXX";
        folder_ = mkdtemp(pattern);
        registry_store::UsePath(folder_ + "/registry.db");
        ASSERT_EQ(root_.Create(RegRoot::CurrentUser, u"Software\\Ostra Tarvik"), ERROR_SUCCESS);
    }
    void TearDown() override {
        registry_store::UsePath(folder_ + "/closed.db");
        std::filesystem::remove_all(folder_);
    }

    std::string folder_;
    RegKey root_;
};

TEST_F(RegistryTest, KeyAndValueNamesCompareWithoutCase) {
    ASSERT_EQ(root_.SetDWORD(u"MaxBufSiz", 20971520), ERROR_SUCCESS);
    RegKey options;
    ASSERT_EQ(options.Open(RegRoot::CurrentUser, u"SOFTWARE\\ostra tarvik"), ERROR_SUCCESS);
    DWORD value = 0;
    EXPECT_EQ(options.QueryDWORD(u"maxbufsiz", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 20971520u);

    // Overwriting with another spelling keeps one value and its first spelling.
    ASSERT_EQ(options.SetDWORD(u"MAXBUFSIZ", 7), ERROR_SUCCESS);
    DWORD count = 0;
    ASSERT_EQ(options.CountValues(count), ERROR_SUCCESS);
    EXPECT_EQ(count, 1u);
    std::u16string name;
    ASSERT_EQ(options.EnumValue(0, name), ERROR_SUCCESS);
    EXPECT_EQ(name, u"MaxBufSiz");

    RegKey accented;
    ASSERT_EQ(accented.Create(root_, u"Études"), ERROR_SUCCESS);
    EXPECT_EQ(accented.Open(root_, u"éTUDES"), ERROR_SUCCESS);
}

TEST_F(RegistryTest, RootsAreSeparate) {
    RegKey classes;
    EXPECT_EQ(classes.Open(RegRoot::ClassesRoot, u"Software"), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(classes.IsOpen());
    ASSERT_EQ(classes.Create(RegRoot::ClassesRoot, u".log"), ERROR_SUCCESS);
    RegKey user;
    EXPECT_EQ(user.Open(RegRoot::CurrentUser, u".log"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, StringSizesIncludeTheTerminator) {
    ASSERT_EQ(root_.SetString(u"DefaultEditor", u"xdg-open"), ERROR_SUCCESS);
    DWORD type = 0;
    DWORD size = 0;
    ASSERT_EQ(root_.QueryValue(u"DefaultEditor", &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 2u * 8 + 2);

    char16_t small[4];
    size = sizeof small;
    EXPECT_EQ(root_.QueryValue(u"DefaultEditor", nullptr, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 18u);

    char16_t exact[9];
    size = sizeof exact;
    ASSERT_EQ(root_.QueryValue(u"DefaultEditor", nullptr, exact, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(exact), u"xdg-open");

    std::u16string text;
    ASSERT_EQ(root_.QueryString(u"DefaultEditor", text), ERROR_SUCCESS);
    EXPECT_EQ(text, u"xdg-open");
}

TEST_F(RegistryTest, ReadsIgnoreTheStoredTypeButCheckTheSize) {
    const std::uint8_t four[] = {1, 2, 3, 4};
    ASSERT_EQ(root_.SetBinary(u"Four", four, sizeof four), ERROR_SUCCESS);
    DWORD value = 99;
    ASSERT_EQ(root_.QueryDWORD(u"Four", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 0x04030201u);

    const std::uint8_t two[] = {1, 2};
    ASSERT_EQ(root_.SetBinary(u"Two", two, sizeof two), ERROR_SUCCESS);
    ASSERT_EQ(root_.SetString(u"Text", u"long text"), ERROR_SUCCESS);
    value = 99;
    EXPECT_NE(root_.QueryDWORD(u"Two", value), ERROR_SUCCESS);
    EXPECT_NE(root_.QueryDWORD(u"Text", value), ERROR_SUCCESS);
    EXPECT_NE(root_.QueryDWORD(u"Missing", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 99u);
}

TEST_F(RegistryTest, StringsWithoutTerminatorAndEmptyValues) {
    const char16_t bare[] = {u'a', u'b'};
    ASSERT_EQ(root_.SetValue(u"Bare", REG_SZ, bare, sizeof bare), ERROR_SUCCESS);
    std::u16string text;
    ASSERT_EQ(root_.QueryString(u"Bare", text), ERROR_SUCCESS);
    EXPECT_EQ(text, u"ab");

    ASSERT_EQ(root_.SetBinary(u"Empty", nullptr, 0), ERROR_SUCCESS);
    DWORD size = 5;
    ASSERT_EQ(root_.QueryValue(u"Empty", nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(root_.SetBinary(u"Bad", nullptr, 4), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryTest, DefaultValueHasTheEmptyName) {
    ASSERT_EQ(root_.SetString(u"", u"default"), ERROR_SUCCESS);
    std::u16string text;
    ASSERT_EQ(root_.QueryString(u"", text), ERROR_SUCCESS);
    EXPECT_EQ(text, u"default");
}

TEST_F(RegistryTest, NumberedValuesEnumerateAndRewrite) {
    RegKey recent;
    ASSERT_EQ(recent.Create(root_, u"Recent File List"), ERROR_SUCCESS);
    for (int i = 1; i <= 50; ++i) {
        const std::string name = "File" + std::to_string(i);
        ASSERT_EQ(recent.SetString(std::u16string(name.begin(), name.end()), u"/var/log/x"),
                  ERROR_SUCCESS);
    }
    DWORD count = 0;
    ASSERT_EQ(recent.CountValues(count), ERROR_SUCCESS);
    EXPECT_EQ(count, 50u);
    std::u16string first, second;
    ASSERT_EQ(recent.EnumValue(0, first), ERROR_SUCCESS);
    ASSERT_EQ(recent.EnumValue(1, second), ERROR_SUCCESS);
    EXPECT_EQ(first, u"File1");
    EXPECT_EQ(second, u"File10");
    std::u16string none;
    EXPECT_EQ(recent.EnumValue(50, none), ERROR_NO_MORE_ITEMS);

    ASSERT_EQ(recent.DeleteValue(u"file50"), ERROR_SUCCESS);
    EXPECT_EQ(recent.DeleteValue(u"File50"), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(recent.CountValues(count), ERROR_SUCCESS);
    EXPECT_EQ(count, 49u);
}

TEST_F(RegistryTest, EnumeratesSubKeysByFoldedName) {
    RegKey sets;
    ASSERT_EQ(sets.Create(root_, u"File Sets"), ERROR_SUCCESS);
    for (auto name : {u"beta", u"Alpha", u"GAMMA"}) {
        RegKey child;
        ASSERT_EQ(child.Create(sets, name), ERROR_SUCCESS);
    }
    std::u16string names;
    std::u16string name;
    for (DWORD i = 0; sets.EnumKey(i, name) == ERROR_SUCCESS; ++i) names += name + u",";
    EXPECT_EQ(names, u"Alpha,beta,GAMMA,");
    DWORD count = 0;
    ASSERT_EQ(sets.CountSubKeys(count), ERROR_SUCCESS);
    EXPECT_EQ(count, 3u);
}

TEST_F(RegistryTest, DeletingKeysAndTrees) {
    RegKey deep;
    ASSERT_EQ(deep.Create(root_, u"HighlightFilters2\\1\\Actions"), ERROR_SUCCESS);
    ASSERT_EQ(deep.SetDWORD(u"Kind", 1), ERROR_SUCCESS);

    EXPECT_EQ(root_.DeleteSubKey(u"HighlightFilters2"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(root_.DeleteSubKey(u"Missing"), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(root_.DeleteSubKey(u"highlightfilters2\\1\\actions"), ERROR_SUCCESS);
    RegKey check;
    EXPECT_EQ(check.Open(root_, u"HighlightFilters2\\1\\Actions"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(check.Open(root_, u"HighlightFilters2\\1"), ERROR_SUCCESS);

    ASSERT_EQ(deep.Create(root_, u"HighlightFilters2\\2\\Actions"), ERROR_SUCCESS);
    ASSERT_EQ(root_.DeleteTree(u"HighlightFilters2"), ERROR_SUCCESS);
    EXPECT_EQ(check.Open(root_, u"HighlightFilters2"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(root_.DeleteTree(u"HighlightFilters2"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, DeleteTreeWithEmptyPathEmptiesTheKeyButKeepsIt) {
    RegKey list;
    ASSERT_EQ(list.Create(root_, u"AOFPatterns\\1"), ERROR_SUCCESS);
    ASSERT_EQ(root_.SetDWORD(u"Kept", 1), ERROR_SUCCESS);
    RegKey patterns;
    ASSERT_EQ(patterns.Open(root_, u"AOFPatterns"), ERROR_SUCCESS);
    ASSERT_EQ(patterns.SetDWORD(u"Count", 1), ERROR_SUCCESS);
    ASSERT_EQ(patterns.DeleteTree(u""), ERROR_SUCCESS);
    DWORD keys = 1, values = 1;
    ASSERT_EQ(patterns.CountSubKeys(keys), ERROR_SUCCESS);
    ASSERT_EQ(patterns.CountValues(values), ERROR_SUCCESS);
    EXPECT_EQ(keys + values, 0u);
    DWORD kept = 0;
    EXPECT_EQ(root_.QueryDWORD(u"Kept", kept), ERROR_SUCCESS);
}

TEST_F(RegistryTest, KeyDeletedUnderAnOpenHandle) {
    RegKey filters;
    ASSERT_EQ(filters.Create(root_, u"IncludeFilters2"), ERROR_SUCCESS);
    ASSERT_EQ(filters.SetDWORD(u"Count", 2), ERROR_SUCCESS);
    ASSERT_EQ(root_.DeleteTree(u"IncludeFilters2"), ERROR_SUCCESS);

    DWORD value = 0;
    EXPECT_EQ(filters.QueryDWORD(u"Count", value), ERROR_KEY_DELETED);
    EXPECT_EQ(filters.SetDWORD(u"Count", 3), ERROR_KEY_DELETED);
    std::u16string name;
    EXPECT_EQ(filters.EnumValue(0, name), ERROR_KEY_DELETED);
    RegKey child;
    EXPECT_EQ(child.Create(filters, u"1"), ERROR_KEY_DELETED);

    // Recreating the key by name gives a fresh, empty key; the stale handle
    // does not reach it.
    RegKey again;
    ASSERT_EQ(again.Create(root_, u"IncludeFilters2"), ERROR_SUCCESS);
    DWORD count = 9;
    ASSERT_EQ(again.CountValues(count), ERROR_SUCCESS);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(filters.SetDWORD(u"Count", 3), ERROR_KEY_DELETED);
}

TEST_F(RegistryTest, ClosedKeysAndBadPaths) {
    RegKey closed;
    DWORD value = 0;
    EXPECT_EQ(closed.QueryDWORD(u"x", value), ERROR_INVALID_HANDLE);
    EXPECT_EQ(closed.SetDWORD(u"x", 1), ERROR_INVALID_HANDLE);
    RegKey child;
    EXPECT_EQ(child.Open(closed, u"x"), ERROR_INVALID_HANDLE);

    const std::u16string tooLong(300, u'k');
    EXPECT_EQ(child.Create(root_, tooLong), ERROR_INVALID_PARAMETER);
    ASSERT_EQ(child.Create(root_, u"\\a\\\\b\\"), ERROR_SUCCESS);
    EXPECT_EQ(child.Open(root_, u"a\\b"), ERROR_SUCCESS);
    EXPECT_EQ(root_.DeleteSubKey(u""), ERROR_INVALID_PARAMETER);

    // root_ lies two levels deep; below it fit kMaxKeyDepth - 2 more.
    std::u16string deep = u"d";
    for (std::size_t depth = 4; depth <= registry_names::kMaxKeyDepth; ++depth) deep += u"\\d";
    RegKey deepest;
    ASSERT_EQ(deepest.Create(root_, deep), ERROR_SUCCESS);
    EXPECT_EQ(child.Create(deepest, u"one\\more"), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(child.Create(RegRoot::CurrentUser, u"Software\\Ostra Tarvik\\" + deep + u"\\x"),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(child.Create(root_, u"fresh\\" + deep), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(child.Open(root_, u"fresh"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(child.Create(root_, deep), ERROR_SUCCESS);
}

TEST_F(RegistryTest, TransactionGroupsWritesAndNests) {
    {
        RegTransaction outer;
        ASSERT_EQ(root_.SetDWORD(u"A", 1), ERROR_SUCCESS);
        {
            RegTransaction inner;
            ASSERT_EQ(root_.SetDWORD(u"B", 2), ERROR_SUCCESS);
        }
        DWORD value = 0;
        EXPECT_EQ(root_.QueryDWORD(u"B", value), ERROR_SUCCESS);
    }
    // Reopening the file shows what was committed.
    registry_store::UsePath(folder_ + "/registry.db");
    RegKey reopened;
    ASSERT_EQ(reopened.Open(RegRoot::CurrentUser, u"Software\\Ostra Tarvik"), ERROR_SUCCESS);
    DWORD a = 0, b = 0;
    EXPECT_EQ(reopened.QueryDWORD(u"A", a), ERROR_SUCCESS);
    EXPECT_EQ(reopened.QueryDWORD(u"B", b), ERROR_SUCCESS);
    EXPECT_EQ(a + b, 3u);
}

TEST_F(RegistryTest, CancelledTransactionKeepsNothing) {
    {
        RegTransaction group;
        ASSERT_EQ(root_.SetDWORD(u"Dropped", 1), ERROR_SUCCESS);
        RegKey created;
        ASSERT_EQ(created.Create(root_, u"DroppedKey"), ERROR_SUCCESS);
        group.Cancel();
        EXPECT_FALSE(group.Commit());
    }
    DWORD value = 0;
    EXPECT_EQ(root_.QueryDWORD(u"Dropped", value), ERROR_FILE_NOT_FOUND);
    RegKey key;
    EXPECT_EQ(key.Open(root_, u"DroppedKey"), ERROR_FILE_NOT_FOUND);

    RegTransaction next;
    EXPECT_EQ(root_.SetDWORD(u"Kept", 1), ERROR_SUCCESS);
    EXPECT_TRUE(next.Commit());
    EXPECT_EQ(root_.QueryDWORD(u"Kept", value), ERROR_SUCCESS);
}

}  // namespace
}  // namespace platform
