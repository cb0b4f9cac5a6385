#include "filters/InExFilterStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filters/InExFilterList.h"
#include "settings/TempRegistry.h"

namespace filters {
namespace {

using app_test::CreateKey;
using app_test::KeyExists;
using platform::ERROR_SUCCESS;
using platform::RegKey;
using platform::RegRoot;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::u16string_view kIncludePath = u"Software\\Ostra Tarvik\\IncludeFilters2";
constexpr std::u16string_view kExcludePath = u"Software\\Ostra Tarvik\\ExcludeFilters2";
constexpr std::u16string_view kOlderIncludePath = u"Software\\Ostra Tarvik\\IncludeFilters";
constexpr std::u16string_view kOlderExcludePath = u"Software\\Ostra Tarvik\\ExcludeFilters";

using InExFilterStore = app_test::TempRegistryTest;

InExFilter Filter(std::u16string_view text, bool enable, bool matchCase, bool regularExpression) {
    InExFilter filter;
    filter.phrase.text = text;
    filter.Enable = enable;
    filter.phrase.matchCase = matchCase;
    filter.phrase.regularExpression = regularExpression;
    return filter;
}

// A filter as text and its three switches, for comparing lists.
std::u16string Describe(const InExFilter& filter) {
    return filter.phrase.text + u"|" + (filter.Enable ? u"E" : u"-") +
           (filter.phrase.matchCase ? u"C" : u"-") +
           (filter.phrase.regularExpression ? u"R" : u"-");
}

std::vector<std::u16string> Describe(const std::vector<InExFilter>& list) {
    std::vector<std::u16string> described;
    for (const InExFilter& filter : list) described.push_back(Describe(filter));
    return described;
}

std::vector<std::u16string> SubkeyNames(std::u16string_view path) {
    std::vector<std::u16string> names;
    RegKey key;
    if (key.Open(RegRoot::CurrentUser, path) != ERROR_SUCCESS) return names;
    std::u16string name;
    for (platform::DWORD i = 0; key.EnumKey(i, name) == ERROR_SUCCESS; ++i) names.push_back(name);
    return names;
}

void WriteStored(std::u16string_view listPath, const std::vector<InExFilter>& list) {
    RegKey key = CreateKey(listPath);
    for (std::size_t i = 0; i < list.size(); ++i) {
        RegKey subkey;
        const std::string digits = std::to_string(i + 1);
        ASSERT_EQ(subkey.Create(key, u"Filter" + std::u16string(digits.begin(), digits.end())),
                  ERROR_SUCCESS);
        subkey.SetString(u"Text", list[i].phrase.text);
        subkey.SetDWORD(u"Enable", list[i].Enable);
        subkey.SetDWORD(u"MatchCase", list[i].phrase.matchCase);
        subkey.SetDWORD(u"RegularExpression", list[i].phrase.regularExpression);
    }
}

TEST_F(InExFilterStore, BothListsSurviveARoundTripInOrder) {
    CInExFilters saved;
    saved.Replace({Filter(u"ERROR", true, true, false), Filter(u"warn.*disk", false, false, true)},
                  {Filter(u"heartbeat", true, false, false)});
    ASSERT_TRUE(saved.Save());
    EXPECT_THAT(SubkeyNames(kIncludePath), ElementsAre(u"Filter1", u"Filter2"));
    EXPECT_THAT(SubkeyNames(kExcludePath), ElementsAre(u"Filter1"));

    CInExFilters loaded;
    loaded.Load();
    EXPECT_THAT(Describe(loaded.Include()), ElementsAre(u"ERROR|EC-", u"warn.*disk|--R"));
    EXPECT_THAT(Describe(loaded.Exclude()), ElementsAre(u"heartbeat|E--"));
    EXPECT_EQ(loaded.Include()[1].phrase.expression, nullptr) << "disabled: not compiled";
    EXPECT_EQ(loaded.Exclude()[0].phrase.foldedText, u"heartbeat");
    EXPECT_TRUE(loaded.AnyIncludeEnabled());
    EXPECT_TRUE(loaded.NeedsFolding());
    EXPECT_FALSE(loaded.AcceptLine(u"ERROR heartbeat"));
    EXPECT_TRUE(loaded.AcceptLine(u"ERROR disk"));

    RegKey text;
    ASSERT_EQ(text.Open(RegRoot::CurrentUser, std::u16string(kIncludePath) + u"\\Filter1"),
              ERROR_SUCCESS);
    platform::DWORD type = 0, size = 0;
    ASSERT_EQ(text.QueryValue(u"Text", &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, platform::REG_SZ);
    EXPECT_EQ(size, 2u * 5 + 2) << "the terminating zero is stored";
}

TEST_F(InExFilterStore, LoadingStopsAtAMissingSubkeyOrAnEmptyText) {
    WriteStored(kIncludePath,
                {Filter(u"one", true, false, false), Filter(u"two", true, false, false)});
    RegKey include = CreateKey(kIncludePath);
    RegKey fourth;
    ASSERT_EQ(fourth.Create(include, u"Filter4"), ERROR_SUCCESS);
    fourth.SetString(u"Text", u"four");
    WriteStored(kExcludePath, {Filter(u"a", true, false, false), Filter(u"", true, false, false),
                               Filter(u"c", true, false, false)});

    CInExFilters loaded;
    loaded.Load();
    EXPECT_THAT(Describe(loaded.Include()), ElementsAre(u"one|E--", u"two|E--"));
    EXPECT_THAT(Describe(loaded.Exclude()), ElementsAre(u"a|E--"));
}

TEST_F(InExFilterStore, MissingOrUnreadableValuesKeepTheirDefaults) {
    RegKey subkey = CreateKey(std::u16string(kExcludePath) + u"\\Filter1");
    subkey.SetString(u"Text", u"x*");
    const std::uint8_t shortValue = 1;
    subkey.SetBinary(u"MatchCase", &shortValue, 1);
    RegKey second = CreateKey(std::u16string(kExcludePath) + u"\\Filter2");
    second.SetString(u"Text", u"y");
    second.SetDWORD(u"Enable", 0);
    second.SetDWORD(u"RegularExpression", 7);

    CInExFilters loaded;
    loaded.Load();
    EXPECT_THAT(Describe(loaded.Exclude()), ElementsAre(u"x*|E--", u"y|--R"));
    EXPECT_THAT(loaded.Include(), IsEmpty());
}

TEST_F(InExFilterStore, SavingReplacesEveryOlderSubkey) {
    CInExFilters filters;
    filters.Replace({Filter(u"a", true, false, false), Filter(u"b", true, false, false),
                     Filter(u"c", true, false, false)},
                    {});
    ASSERT_TRUE(filters.Save());
    RegKey stray = CreateKey(std::u16string(kIncludePath) + u"\\Stray\\Deeper");
    stray.SetString(u"Text", u"left over");

    filters.Replace({Filter(u"z", true, false, false)}, {Filter(u"y", false, false, false)});
    ASSERT_TRUE(filters.Save());
    EXPECT_THAT(SubkeyNames(kIncludePath), ElementsAre(u"Filter1"));
    CInExFilters loaded;
    loaded.Load();
    EXPECT_THAT(Describe(loaded.Include()), ElementsAre(u"z|E--"));
    EXPECT_THAT(Describe(loaded.Exclude()), ElementsAre(u"y|---"));

    filters.Replace({}, {});
    ASSERT_TRUE(filters.Save());
    EXPECT_TRUE(KeyExists(kIncludePath)) << "the list key itself stays";
    EXPECT_THAT(SubkeyNames(kIncludePath), IsEmpty());
}

TEST_F(InExFilterStore, AFilterWithoutTextIsNotSavedSoTheOnesAfterItSurvive) {
    CInExFilters filters;
    filters.Replace(
        {Filter(u"a", true, false, false), Filter(u"", true, false, false),
         Filter(std::u16string(u"\0b", 2), true, false, false), Filter(u"c", true, false, false)},
        {});
    ASSERT_TRUE(filters.Save());
    CInExFilters loaded;
    loaded.Load();
    EXPECT_THAT(Describe(loaded.Include()), ElementsAre(u"a|E--", u"c|E--"));
}

TEST_F(InExFilterStore, OlderKeysAreMigratedDeletedAndSavedInTheCurrentLayout) {
    RegKey olderInclude = CreateKey(kOlderIncludePath);
    olderInclude.SetString(u"first", u"err*r");
    olderInclude.SetString(u"second", u"Plain text");
    olderInclude.SetString(u"skipped", u"");
    olderInclude.SetDWORD(u"not a string", 5);
    RegKey olderExclude = CreateKey(kOlderExcludePath);
    olderExclude.SetString(u"x", u"noise");
    WriteStored(kIncludePath, {Filter(u"current", true, true, false)});

    CInExFilters loaded;
    loaded.Load();
    EXPECT_THAT(Describe(loaded.Include()),
                ElementsAre(u"err*r|E-R", u"Plain text|E--", u"current|EC-"));
    EXPECT_THAT(Describe(loaded.Exclude()), ElementsAre(u"noise|E--"));
    EXPECT_NE(loaded.Include()[0].phrase.expression, nullptr);
    EXPECT_TRUE(loaded.AcceptLine(u"An ERRRR here")) << "compiled without case";
    EXPECT_FALSE(KeyExists(kOlderIncludePath));
    EXPECT_FALSE(KeyExists(kOlderExcludePath));
    EXPECT_THAT(SubkeyNames(kIncludePath), ElementsAre(u"Filter1", u"Filter2", u"Filter3"));

    CInExFilters again;
    again.Load();
    EXPECT_THAT(Describe(again.Include()),
                ElementsAre(u"err*r|E-R", u"Plain text|E--", u"current|EC-"))
        << "migrated once only";
    EXPECT_THAT(Describe(again.Exclude()), ElementsAre(u"noise|E--"));
}

TEST_F(InExFilterStore, AnEmptyOlderKeyIsDeletedWithoutTouchingTheLists) {
    CreateKey(kOlderExcludePath).SetString(u"blank", u"");
    CInExFilters loaded;
    loaded.Load();
    EXPECT_FALSE(KeyExists(kOlderExcludePath));
    EXPECT_FALSE(KeyExists(kIncludePath));
    EXPECT_FALSE(loaded.AnyEnabled());
}

TEST_F(InExFilterStore, LoadingAppendsToWhatTheListsHold) {
    WriteStored(kExcludePath, {Filter(u"stored", true, false, false)});
    CInExFilters filters;
    filters.Replace({}, {Filter(u"earlier", true, false, false)});
    filters.Load();
    EXPECT_THAT(Describe(filters.Exclude()), ElementsAre(u"earlier|E--", u"stored|E--"));
    EXPECT_FALSE(filters.AcceptLine(u"stored"));
}

TEST_F(InExFilterStore, AnotherRootKeepsItsOwnLists) {
    CInExFilters elsewhere(u"Software\\Elsewhere");
    elsewhere.Replace({Filter(u"a", true, false, false)}, {});
    ASSERT_TRUE(elsewhere.Save());
    EXPECT_TRUE(KeyExists(u"Software\\Elsewhere\\IncludeFilters2\\Filter1"));
    EXPECT_FALSE(KeyExists(kIncludePath));
}

}  // namespace
}  // namespace filters
