#include "filters/HighlightFilterStore.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "filters/HighlightTestFilters.h"
#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "settings/TempRegistry.h"

namespace filters {
namespace {

using app_test::CreateKey;
using app_test::KeyExists;
using highlight_test::Filter;
using highlight_test::Kind;

constexpr std::u16string_view kList = u"Software\\Ostra Tarvik\\HighlightFilters2";
constexpr std::u16string_view kLegacy = u"Software\\Ostra Tarvik\\UHighlightFilters";

std::u16string FilterKey(int n) {
    std::u16string path(kList);
    path += u"\\Filter";
    for (char ch : std::to_string(n)) path.push_back(static_cast<char16_t>(ch));
    return path;
}

HighlightFilter FullFilter() {
    HighlightFilter filter = Filter(u"disk (\\d+)%", 0x00112233, Kind::Expression);
    filter.BkgColor = 0x00C0FFFF;
    filter.phrase.matchCase = true;
    filter.HighlightEntireLine = true;
    filter.SendEmail = true;
    filter.Emails = u"ops@example.org, dev@example.org";
    filter.AttachPreviousLinesWithEmail = 12;
    filter.SendFirstOccured = true;
    filter.WriteFile = true;
    filter.IncludeTimestamp = true;
    filter.IncludeFileName = true;
    filter.WrittenFile = u"/var/tmp/matched.log";
    filter.PrintLineToDefaultPrinter = true;
    filter.ExecuteProgram = true;
    filter.ExecutableProgram = u"\"/usr/bin/notify send\" disk";
    filter.ShowDesktopNotification = true;
    filter.PostWebHook = true;
    filter.WebHookUrl = u"https://chat.example/hooks/ops?file=%f";
    filter.WebHookBody = u"{\"text\":\"%n\",\n\"host\":\"%h\"}";
    filter.ReplaceWith = true;
    filter.ReplaceText = u"DISK";
    filter.ActionsOnlyAvailableInSpecialFile = true;
    filter.SetAvailableFile(u"/Var/Log/Syslog");
    return filter;
}

void ExpectSameStoredFields(const HighlightFilter& a, const HighlightFilter& b) {
    EXPECT_EQ(a.phrase.text, b.phrase.text);
    EXPECT_EQ(a.phrase.matchCase, b.phrase.matchCase);
    EXPECT_EQ(a.phrase.regularExpression, b.phrase.regularExpression);
    EXPECT_EQ(a.TextColor, b.TextColor);
    EXPECT_EQ(a.BkgColor, b.BkgColor);
    EXPECT_EQ(a.HighlightEntireLine, b.HighlightEntireLine);
    EXPECT_EQ(a.Enable, b.Enable);
    EXPECT_EQ(a.SendEmail, b.SendEmail);
    EXPECT_EQ(a.Emails, b.Emails);
    EXPECT_EQ(a.AttachPreviousLinesWithEmail, b.AttachPreviousLinesWithEmail);
    EXPECT_EQ(a.SendFirstOccured, b.SendFirstOccured);
    EXPECT_EQ(a.WriteFile, b.WriteFile);
    EXPECT_EQ(a.IncludeTimestamp, b.IncludeTimestamp);
    EXPECT_EQ(a.IncludeFileName, b.IncludeFileName);
    EXPECT_EQ(a.WrittenFile, b.WrittenFile);
    EXPECT_EQ(a.PrintLineToDefaultPrinter, b.PrintLineToDefaultPrinter);
    EXPECT_EQ(a.ExecuteProgram, b.ExecuteProgram);
    EXPECT_EQ(a.ExecutableProgram, b.ExecutableProgram);
    EXPECT_EQ(a.ReplaceWith, b.ReplaceWith);
    EXPECT_EQ(a.ReplaceText, b.ReplaceText);
    EXPECT_EQ(a.ActionsOnlyAvailableInSpecialFile, b.ActionsOnlyAvailableInSpecialFile);
    EXPECT_EQ(a.AvailableFile, b.AvailableFile);
    EXPECT_EQ(a.ShowDesktopNotification, b.ShowDesktopNotification);
    EXPECT_EQ(a.PostWebHook, b.PostWebHook);
    EXPECT_EQ(a.WebHookUrl, b.WebHookUrl);
    EXPECT_EQ(a.WebHookBody, b.WebHookBody);
}

// A hand-made record of the older layout, byte by byte.
class LegacyBytes {
public:
    explicit LegacyBytes(std::size_t size) : bytes_(size, 0) {}
    LegacyBytes& Number(std::size_t offset, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes_.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
        return *this;
    }
    LegacyBytes& Text(std::size_t offset, std::u16string_view text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            bytes_.at(offset + 2 * i) = static_cast<std::uint8_t>(text[i]);
            bytes_.at(offset + 2 * i + 1) = static_cast<std::uint8_t>(text[i] >> 8);
        }
        return *this;
    }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

LegacyBytes LegacyRecord(std::size_t size, std::u16string_view phrase) {
    LegacyBytes record(size);
    record.Number(0, 0x000000FF).Number(4, 0x00FFFF00).Text(8, phrase);
    return record;
}

void AddLegacyValue(std::u16string_view name, const LegacyBytes& record) {
    platform::RegKey key = CreateKey(kLegacy);
    ASSERT_EQ(key.SetBinary(name, record.Bytes().data(),
                            static_cast<platform::DWORD>(record.Bytes().size())),
              platform::ERROR_SUCCESS);
}

using HighlightFilterStoreTest = app_test::TempRegistryTest;

TEST_F(HighlightFilterStoreTest, SavedFiltersLoadBackWithEveryFieldAndDerivedState) {
    HighlightFilter second = Filter(u"Warn", 0x0000FF00);
    second.Enable = false;
    CHighlightFilters saved;
    saved.Replace({FullFilter(), second});
    ASSERT_TRUE(SaveHighlightFilters(saved));

    platform::RegKey first;
    ASSERT_EQ(first.Open(platform::RegRoot::CurrentUser, FilterKey(1)), platform::ERROR_SUCCESS);
    platform::DWORD type = 0;
    platform::DWORD size = 0;
    ASSERT_EQ(first.QueryValue(u"Text", &type, nullptr, &size), platform::ERROR_SUCCESS);
    EXPECT_EQ(type, platform::REG_SZ);
    EXPECT_EQ(size, 2 * FullFilter().phrase.text.size() + 2);

    CHighlightFilters loaded;
    EXPECT_EQ(LoadHighlightFilters(loaded), 0);
    ASSERT_EQ(loaded.Size(), 2u);
    ExpectSameStoredFields(loaded.Items()[0], saved.Items()[0]);
    ExpectSameStoredFields(loaded.Items()[1], saved.Items()[1]);
    EXPECT_NE(loaded.Items()[0].phrase.expression, nullptr);
    EXPECT_EQ(loaded.Items()[0].foldedAvailableFile, u"/var/log/syslog");
    EXPECT_TRUE(loaded.Items()[0].notifiedDocuments.has_value());
    EXPECT_EQ(loaded.Items()[1].phrase.foldedText, u"warn");
    EXPECT_TRUE(loaded.AnySendEmail() && loaded.AnyShowAs());

    // A file to write to, stored relative or untidy by hand, loads absolute
    // and normal, as every path is compared.
    CreateKey(FilterKey(2)).SetString(u"WrittenFile", u"logs/./matched//out.log");
    CHighlightFilters again;
    EXPECT_EQ(LoadHighlightFilters(again), 0);
    ASSERT_EQ(again.Size(), 2u);
    EXPECT_EQ(
        again.Items()[1].WrittenFile,
        platform::Utf8ToUtf16(std::filesystem::current_path().string()) + u"/logs/matched/out.log");
}

TEST_F(HighlightFilterStoreTest, SavingReplacesEveryEarlierSubkey) {
    CHighlightFilters filters;
    filters.Replace({Filter(u"a", 1), Filter(u"b", 2), Filter(u"c", 3)});
    ASSERT_TRUE(SaveHighlightFilters(filters));
    CreateKey(std::u16string(kList) + u"\\Stray");

    filters.Replace({Filter(u"z", 9)});
    ASSERT_TRUE(SaveHighlightFilters(filters));
    EXPECT_TRUE(KeyExists(FilterKey(1)));
    EXPECT_FALSE(KeyExists(FilterKey(2)));
    EXPECT_FALSE(KeyExists(FilterKey(3)));
    EXPECT_FALSE(KeyExists(std::u16string(kList) + u"\\Stray"));

    filters.Clear();
    ASSERT_TRUE(SaveHighlightFilters(filters));
    EXPECT_TRUE(KeyExists(kList));
    EXPECT_FALSE(KeyExists(FilterKey(1)));
}

TEST_F(HighlightFilterStoreTest, FiltersWithoutPhraseAreNotSavedSoLaterOnesSurvive) {
    CHighlightFilters filters;
    // A text starting with NUL is read back empty, like no text at all.
    filters.Replace(
        {Filter(u"a", 1), Filter(u"", 2), Filter(std::u16string(u"\0b", 2), 4), Filter(u"c", 3)});
    ASSERT_TRUE(SaveHighlightFilters(filters));
    CHighlightFilters loaded;
    LoadHighlightFilters(loaded);
    ASSERT_EQ(loaded.Size(), 2u);
    EXPECT_EQ(loaded.Items()[1].phrase.text, u"c");
}

TEST_F(HighlightFilterStoreTest, LoadingStopsAtAMissingSubkeyOrAnEmptyText) {
    CreateKey(FilterKey(1)).SetString(u"Text", u"one");
    CreateKey(FilterKey(3)).SetString(u"Text", u"three");
    CHighlightFilters gap;
    LoadHighlightFilters(gap);
    ASSERT_EQ(gap.Size(), 1u);
    EXPECT_EQ(gap.Items()[0].phrase.text, u"one");

    CreateKey(FilterKey(2)).SetString(u"Text", u"");
    CHighlightFilters emptyText;
    LoadHighlightFilters(emptyText);
    EXPECT_EQ(emptyText.Size(), 1u);

    CreateKey(FilterKey(2)).SetDWORD(u"Text", 7);
    CHighlightFilters numberAsText;
    LoadHighlightFilters(numberAsText);
    EXPECT_EQ(numberAsText.Size(), 1u);
}

TEST_F(HighlightFilterStoreTest, MissingOrUnreadableValuesKeepTheirResetValues) {
    platform::RegKey key = CreateKey(FilterKey(1));
    key.SetString(u"Text", u"error");
    key.SetString(u"TextColor", u"red");
    const std::uint8_t shortNumber[2] = {1, 0};
    key.SetValue(u"SendEmail", platform::REG_DWORD, shortNumber, sizeof shortNumber);
    key.SetDWORD(u"Emails", 5);

    CHighlightFilters filters;
    LoadHighlightFilters(filters);
    ASSERT_EQ(filters.Size(), 1u);
    const HighlightFilter& filter = filters.Items()[0];
    EXPECT_FALSE(filter.Enable);
    EXPECT_EQ(filter.TextColor, 0u);
    EXPECT_FALSE(filter.SendEmail);
    EXPECT_TRUE(filter.Emails.empty());
    EXPECT_FALSE(filters.AnySendEmail());
    // Stored before desktop notices and web hooks: both off.
    EXPECT_FALSE(filter.ShowDesktopNotification || filter.PostWebHook);
}

TEST_F(HighlightFilterStoreTest, OlderRecordsMigrateInNumericOrderAheadOfCurrentFilters) {
    CreateKey(FilterKey(1)).SetString(u"Text", u"current");
    LegacyBytes full = LegacyRecord(2156, u"Disk Full");
    full.Number(148, 1)
        .Number(152, 1)
        .Text(156, u"ops@example.org")
        .Number(556, 1)
        .Number(560, 1)
        .Text(564, u"/tmp/out.log")
        .Number(1088, 1)
        .Number(1092, 1)
        .Text(1096, u"beep --loud")
        .Number(1616, 1)
        .Text(1620, u"/Var/App.log")
        .Number(2140, 1)
        .Number(2144, 1)
        .Number(2148, 1)
        .Number(2152, 3);
    AddLegacyValue(u"10", full);
    AddLegacyValue(u"2", LegacyRecord(2140, u"old"));
    AddLegacyValue(u"1", LegacyRecord(2156, u"off"));  // Enable stored as 0

    CHighlightFilters filters;
    EXPECT_EQ(LoadHighlightFilters(filters), 3);
    ASSERT_EQ(filters.Size(), 4u);
    const auto& items = filters.Items();
    EXPECT_EQ(items[0].phrase.text, u"off");
    EXPECT_FALSE(items[0].Enable);
    EXPECT_EQ(items[1].phrase.text, u"old");
    EXPECT_TRUE(items[1].Enable);
    EXPECT_EQ(items[2].phrase.text, u"Disk Full");
    EXPECT_EQ(items[3].phrase.text, u"current");

    const HighlightFilter& disk = items[2];
    EXPECT_EQ(disk.TextColor, 0x000000FFu);
    EXPECT_EQ(disk.BkgColor, 0x00FFFF00u);
    EXPECT_FALSE(disk.phrase.matchCase || disk.phrase.regularExpression || disk.ReplaceWith);
    EXPECT_EQ(disk.phrase.foldedText, u"disk full");
    EXPECT_TRUE(disk.SendEmail && disk.SendFirstOccured && disk.WriteFile && disk.IncludeFileName);
    EXPECT_TRUE(disk.PrintLineToDefaultPrinter && disk.ExecuteProgram && disk.Enable);
    EXPECT_TRUE(disk.ActionsOnlyAvailableInSpecialFile && disk.IncludeTimestamp &&
                disk.HighlightEntireLine);
    EXPECT_EQ(disk.Emails, u"ops@example.org");
    EXPECT_EQ(disk.WrittenFile, u"/tmp/out.log");
    EXPECT_EQ(disk.ExecutableProgram, u"beep --loud");
    EXPECT_EQ(disk.AvailableFile, u"/Var/App.log");
    EXPECT_EQ(disk.foldedAvailableFile, u"/var/app.log");
    EXPECT_EQ(disk.AttachPreviousLinesWithEmail, 3);
    EXPECT_TRUE(disk.notifiedDocuments.has_value());
    EXPECT_TRUE(MatchPhrase(disk.phrase, u"DISK FULL on /"));

    // The older key is gone and the list was saved in the current layout.
    EXPECT_FALSE(KeyExists(kLegacy));
    CHighlightFilters again;
    EXPECT_EQ(LoadHighlightFilters(again), 0);
    ASSERT_EQ(again.Size(), 4u);
    ExpectSameStoredFields(again.Items()[2], disk);
}

TEST_F(HighlightFilterStoreTest, OddOlderValuesAreSkippedAndTheKeyStillGoes) {
    AddLegacyValue(u"1", LegacyRecord(2156, u""));         // no phrase
    AddLegacyValue(u"2", LegacyRecord(2160, u"too big"));  // not a record
    AddLegacyValue(u"3", LegacyRecord(20, u"short"));      // cut short: enabled, rest zero
    LegacyBytes unterminated(2156);
    // The phrase fills its field with no NUL; the text must stop at the field end.
    unterminated.Text(8, std::u16string(70, u'x')).Text(148, u"\x0001");
    AddLegacyValue(u"4", unterminated);

    CHighlightFilters filters;
    EXPECT_EQ(LoadHighlightFilters(filters), 2);
    ASSERT_EQ(filters.Size(), 2u);
    EXPECT_EQ(filters.Items()[0].phrase.text, u"short");
    EXPECT_TRUE(filters.Items()[0].Enable);
    EXPECT_EQ(filters.Items()[1].phrase.text, std::u16string(70, u'x'));
    EXPECT_FALSE(KeyExists(kLegacy));

    AddLegacyValue(u"1", LegacyRecord(2156, u""));
    CHighlightFilters none;
    EXPECT_EQ(LoadHighlightFilters(none), 0);
    EXPECT_FALSE(KeyExists(kLegacy));
}

}  // namespace
}  // namespace filters
