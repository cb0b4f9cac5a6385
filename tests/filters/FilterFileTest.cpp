// Filter files: the INI form written and read back, the older fixed-layout
// forms, the name rule that picks the form, and damaged or hostile files.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "filters/FilterFile.h"
#include "filters/FixedLayoutFilterFile.h"
#include "filters/IniFilterFile.h"

namespace {

namespace fs = std::filesystem;
using filters::HighlightFileImport;
using filters::HighlightFilter;
using filters::InExFilterRow;
using Bytes = std::vector<std::uint8_t>;

Bytes Utf16Le(std::u16string_view text, bool mark = true) {
    Bytes bytes;
    if (mark) bytes = {0xFF, 0xFE};
    for (const char16_t ch : text) {
        bytes.push_back(static_cast<std::uint8_t>(ch));
        bytes.push_back(static_cast<std::uint8_t>(ch >> 8));
    }
    return bytes;
}

HighlightFileImport ReadHighlightIni(const Bytes& bytes) {
    HighlightFileImport out;
    filters::ini_file::ReadHighlight(filters::BytesReader(bytes), out);
    return out;
}

std::vector<InExFilterRow> ReadInExIni(const Bytes& bytes) {
    std::vector<InExFilterRow> out;
    filters::ini_file::ReadInEx(filters::BytesReader(bytes), out);
    return out;
}

HighlightFilter FullFilter() {
    HighlightFilter f;
    f.phrase.Assign(u"err\u00e4r [0-9]+", true, true);
    f.TextColor = 0x0000ff;
    f.BkgColor = 0xabcdef;
    f.HighlightEntireLine = true;
    f.Enable = true;
    f.SendEmail = true;
    f.Emails = u"a@b.c, d@e.f";
    f.AttachPreviousLinesWithEmail = -3;
    f.SendFirstOccured = true;
    f.WriteFile = true;
    f.IncludeTimestamp = true;
    f.IncludeFileName = true;
    f.WrittenFile = u"/tmp/out=put.log";
    f.PrintLineToDefaultPrinter = true;
    f.ExecuteProgram = true;
    f.ExecutableProgram = u"notify-send \"x\"";
    f.ShowDesktopNotification = true;
    f.PostWebHook = true;
    f.WebHookUrl = u"https://chat.example/hooks/a=b?c=%h";
    // Typed on two lines: the break must not end the value nor start a key.
    f.WebHookBody = u"{\"text\": \"%n\",\r\nReplaceText=\"%f\"}";
    f.ReplaceWith = true;
    f.ReplaceText = u"E!";
    f.ActionsOnlyAvailableInSpecialFile = true;
    f.SetAvailableFile(u"/var/log/Syslog");
    return f;
}

class FilterFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("tarvik-filterfile-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::u16string Write(const std::string& name, const Bytes& bytes) {
        const fs::path path = dir_ / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path.u16string();
    }
    fs::path dir_;
};

TEST_F(FilterFileTest, HighlightFiltersSurviveExportAndImportFieldByField) {
    HighlightFilter plain;
    plain.phrase.Assign(u"Warn", false, false);
    const std::vector<HighlightFilter> exported{FullFilter(), plain};
    const std::u16string path = dir_.u16string() + u"/set.ini";
    ASSERT_TRUE(filters::WriteHighlightFilterFile(path, exported));

    std::ifstream in(fs::path(path), std::ios::binary);
    const Bytes bytes((std::istreambuf_iterator<char>(in)), {});
    const Bytes head = Utf16Le(u"[HFilter1]\r\nText=err\u00e4r [0-9]+\r\nTextColor=0xff\r\n");
    ASSERT_GE(bytes.size(), head.size());
    EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));

    HighlightFileImport read;
    ASSERT_TRUE(filters::ReadHighlightFilterFile(path, read));
    ASSERT_EQ(read.filters.size(), 2u);
    EXPECT_TRUE(read.touchesShowAs);
    const HighlightFilter& a = read.filters[0];
    const HighlightFilter& e = exported[0];
    EXPECT_EQ(a.phrase.text, e.phrase.text);
    EXPECT_TRUE(a.phrase.matchCase && a.phrase.regularExpression && a.HighlightEntireLine);
    EXPECT_EQ(a.TextColor, e.TextColor);
    EXPECT_EQ(a.BkgColor, e.BkgColor);
    EXPECT_TRUE(a.Enable && a.SendEmail && a.SendFirstOccured && a.WriteFile);
    EXPECT_TRUE(a.IncludeTimestamp && a.IncludeFileName && a.PrintLineToDefaultPrinter);
    EXPECT_TRUE(a.ExecuteProgram && a.ReplaceWith && a.ActionsOnlyAvailableInSpecialFile);
    EXPECT_EQ(a.Emails, e.Emails);
    EXPECT_EQ(a.AttachPreviousLinesWithEmail, -3);
    EXPECT_EQ(a.WrittenFile, e.WrittenFile);
    EXPECT_EQ(a.ExecutableProgram, e.ExecutableProgram);
    EXPECT_EQ(a.ReplaceText, e.ReplaceText);
    EXPECT_EQ(a.AvailableFile, e.AvailableFile);
    EXPECT_TRUE(a.ShowDesktopNotification && a.PostWebHook);
    EXPECT_EQ(a.WebHookUrl, e.WebHookUrl);
    EXPECT_EQ(a.WebHookBody, u"{\"text\": \"%n\",  ReplaceText=\"%f\"}");
    EXPECT_EQ(a.foldedAvailableFile, u"/var/log/syslog");
    // Exported disabled with both colours 0: comes back disabled, on white.
    EXPECT_FALSE(read.filters[1].Enable);
    EXPECT_EQ(read.filters[1].BkgColor, 0xffffffu);
    EXPECT_EQ(read.filters[1].phrase.foldedText, u"warn");
    EXPECT_FALSE(read.filters[1].ShowDesktopNotification || read.filters[1].PostWebHook);
}

TEST_F(FilterFileTest, InExRowsSurviveExportAndImportAndAnEmptyExportHoldsOnlyTheMark) {
    std::vector<InExFilterRow> rows(2);
    rows[0].text = u"keep";
    rows[0].matchCase = true;
    rows[1].text = u"dr.p*";
    rows[1].regularExpression = true;
    rows[1].enable = false;
    rows[1].include = false;
    const std::u16string path = dir_.u16string() + u"/ie.INI";
    ASSERT_TRUE(filters::WriteInExFilterFile(path, rows));
    std::vector<InExFilterRow> read;
    ASSERT_TRUE(filters::ReadInExFilterFile(path, read));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].text, u"keep");
    EXPECT_TRUE(read[0].matchCase && read[0].enable && read[0].include);
    EXPECT_EQ(read[1].text, u"dr.p*");
    EXPECT_TRUE(read[1].regularExpression);
    EXPECT_FALSE(read[1].enable || read[1].include);

    const std::u16string empty = dir_.u16string() + u"/empty.ini";
    ASSERT_TRUE(filters::WriteInExFilterFile(empty, {}));
    EXPECT_EQ(fs::file_size(fs::path(empty)), 2u);
    EXPECT_FALSE(filters::WriteInExFilterFile(dir_.u16string(), rows)) << "a folder";
}

TEST(FilterFileIni, MissingKeysTakeTheirDefaultsAndOddLinesAreIgnored) {
    const auto read = ReadHighlightIni(Utf16Le(
        u"junk before\r\n[HFilter7]\r\nText=a=b\r\nno equals sign\r\ntext=lower key\r\n"
        u"BkgColor=zz\r\nReplaceText=\r\n\r\n[HFilter2]\r\nEnable=1\r\n[HFilter3]\r\n"
        u"Text=c\r\nTextColor= 0X1a\r\nEnable=5\r\nAttachPreviousLinesWithEmail=99999999999"));
    ASSERT_EQ(read.filters.size(), 2u) << "the section without Text is dropped";
    EXPECT_EQ(read.filters[0].phrase.text, u"a=b");
    EXPECT_FALSE(read.filters[0].Enable);
    EXPECT_EQ(read.filters[0].BkgColor, 0xffffffu);
    EXPECT_TRUE(read.touchesShowAs);
    EXPECT_EQ(read.filters[1].TextColor, 0x1au);
    EXPECT_EQ(read.filters[1].BkgColor, 0u);
    EXPECT_TRUE(read.filters[1].Enable);
    EXPECT_EQ(read.filters[1].AttachPreviousLinesWithEmail, 2147483647);
    // A file from before desktop notices and web hooks has both off.
    EXPECT_FALSE(read.filters[1].ShowDesktopNotification || read.filters[1].PostWebHook);

    const auto rows = ReadInExIni(Utf16Le(u"[Filter1]\r\nText=x\r\n[HFilter1]\r\nText=y\r\n"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text, u"y") << "[HFilter1] starts no section here";
    EXPECT_TRUE(rows[0].enable && rows[0].include);
}

TEST(FilterFileIni, Utf8AndTruncatedAndHugeFilesReadWhatIsThere) {
    const std::string utf8 =
        "\xEF\xBB\xBF[Filter1]\nText=caf\xC3\xA9\nIsInclude=0\n[Filter2]\nText=\xFF";
    const auto rows = ReadInExIni(Bytes(utf8.begin(), utf8.end()));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, u"caf\u00e9");
    EXPECT_FALSE(rows[0].include);
    EXPECT_EQ(rows[1].text, u"\uFFFD");

    // UTF-16 cut in the middle of a character, and a lone byte-order mark.
    Bytes cut = Utf16Le(u"[HFilter1]\r\nText=ab");
    cut.push_back('c');
    ASSERT_EQ(ReadHighlightIni(cut).filters.at(0).phrase.text, u"ab");
    EXPECT_TRUE(ReadHighlightIni(Bytes{0xFF, 0xFE}).filters.empty());
    EXPECT_TRUE(ReadHighlightIni(Bytes{}).filters.empty());

    // A line of 100,000 characters is read in pieces of at most 10239: the
    // value is cut, and the rest of the line (no "=" in it) is ignored.
    const std::u16string longText(100000, u'x');
    const auto read =
        ReadHighlightIni(Utf16Le(u"[HFilter1]\r\nText=" + longText + u"\r\nEnable=1"));
    ASSERT_EQ(read.filters.size(), 1u);
    EXPECT_EQ(read.filters[0].phrase.text.size(), filters::ini_file::kMaxLineChars - 5);
    EXPECT_TRUE(read.filters[0].Enable);
}

TEST(FilterFileIni, ATextEndsAtItsFirstNulAsTheSettingsStoreKeepsIt) {
    const std::u16string nul(1, u'\0');
    const auto read =
        ReadHighlightIni(Utf16Le(u"[HFilter1]\r\nText=alpha\r\n[HFilter2]\r\nText=" + nul +
                                 u"beta\r\n"
                                 u"[HFilter3]\r\nText=ab" +
                                 nul + u"cd\r\nEmails=x@y" + nul + u"z\r\n"));
    ASSERT_EQ(read.filters.size(), 2u) << "a text that starts with NUL is no text";
    EXPECT_EQ(read.filters[0].phrase.text, u"alpha");
    EXPECT_EQ(read.filters[1].phrase.text, u"ab");
    EXPECT_EQ(read.filters[1].Emails, u"x@y");

    const auto rows = ReadInExIni(Utf16Le(u"[Filter1]\r\nText=" + nul +
                                          u"b\r\n[Filter2]\r\n"
                                          u"Text=c" +
                                          nul + u"d\r\n"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text, u"c");
}

TEST(FilterFileIni, AFileOfCountlessTinySectionsBringsInABoundedNumberAndSaysSo) {
    std::u16string text;
    for (std::size_t i = 0; i < filters::kMaxFiltersPerFile; ++i) text += u"[Filter\nText=a\n";
    std::vector<InExFilterRow> rows;
    bool leftOut = false;
    filters::ini_file::ReadInEx(filters::BytesReader(Utf16Le(text)), rows, &leftOut);
    EXPECT_EQ(rows.size(), filters::kMaxFiltersPerFile);
    EXPECT_FALSE(leftOut) << "exactly as many as one file brings in";
    EXPECT_FALSE(ReadHighlightIni(Utf16Le(u"[HFilter1]\nText=a\n")).leftOut);

    text += u"[Filter\nText=a\n";
    rows.clear();
    filters::ini_file::ReadInEx(filters::BytesReader(Utf16Le(text)), rows, &leftOut);
    EXPECT_EQ(rows.size(), filters::kMaxFiltersPerFile);
    EXPECT_TRUE(leftOut);
    std::u16string highlight;
    for (std::size_t i = 0; i <= filters::kMaxFiltersPerFile; ++i) {
        highlight += u"[HFilter\nText=a\n";
    }
    const auto read = ReadHighlightIni(Utf16Le(highlight));
    EXPECT_EQ(read.filters.size(), filters::kMaxFiltersPerFile);
    EXPECT_TRUE(read.leftOut);
}

TEST_F(FilterFileTest, TheNameDecidesTheFormAndADotInAFolderCounts) {
    EXPECT_TRUE(filters::IsIniFilterFileName(u"/a/filters.INI"));
    EXPECT_TRUE(filters::IsIniFilterFileName(u"/a/old.ini/filters"));
    EXPECT_FALSE(filters::IsIniFilterFileName(u"/a/old.ini/filters.txt"));
    EXPECT_FALSE(filters::IsIniFilterFileName(u"/a/filters.initial"));
    EXPECT_FALSE(filters::IsIniFilterFileName(u"/a/filters"));

    const Bytes ini = Utf16Le(u"[HFilter1]\r\nText=x\r\n");
    HighlightFileImport read;
    EXPECT_TRUE(filters::ReadHighlightFilterFile(Write("old.ini/filters", ini), read));
    EXPECT_EQ(read.filters.size(), 1u);
    EXPECT_FALSE(filters::ReadHighlightFilterFile(Write("filters.txt", ini), read));
    EXPECT_FALSE(filters::ReadHighlightFilterFile(dir_.u16string() + u"/missing.ini", read));
    EXPECT_FALSE(filters::ReadHighlightFilterFile(dir_.u16string(), read)) << "a folder";
    EXPECT_EQ(filters::ImportFailedMessage(u"/x y"),
              u"Failed to import filters from file \"/x y\"");
    EXPECT_EQ(filters::ExportFailedMessage(u"/z"), u"Failed to export filters to file \"/z\"");
}

TEST(FilterFileFixedLayout, HighlightRecordsAreReadAsFarAsTheyGo) {
    std::vector<HighlightFilter> five(5, FullFilter());
    five[2].phrase.Assign(u"", false, false);
    Bytes bytes = filters::fixed_layout::WriteHighlight(five);
    // Announces 5, holds 3 and a half.
    bytes.resize(filters::fixed_layout::kHeaderSize + 2156 * 3 + 1000);
    HighlightFileImport read;
    ASSERT_TRUE(filters::fixed_layout::ReadHighlight(filters::BytesReader(bytes), read));
    ASSERT_EQ(read.filters.size(), 3u);
    EXPECT_EQ(read.filters[0].phrase.text, u"err\u00e4r [0-9]+");
    EXPECT_FALSE(read.filters[0].phrase.regularExpression) << "the layout has no such field";
    EXPECT_EQ(read.filters[2].phrase.text, u"") << "empty phrases come in too";

    const auto rejects = [](Bytes b) {
        HighlightFileImport none;
        return !filters::fixed_layout::ReadHighlight(filters::BytesReader(b), none);
    };
    const Bytes good = filters::fixed_layout::WriteHighlight(five);
    for (const std::size_t at : {0u, 4u, 8u}) {
        Bytes bad = good;
        bad[at] ^= 0x41;  // magic, version, character form
        EXPECT_TRUE(rejects(bad)) << at;
    }
    Bytes zeroCount = good;
    zeroCount[12] = 0;
    EXPECT_TRUE(rejects(zeroCount));
    EXPECT_TRUE(rejects(Bytes(good.begin(), good.begin() + 31)));
    EXPECT_TRUE(rejects(filters::fixed_layout::WriteInEx({}, true))) << "IEFF is no HLFF";
}

TEST(FilterFileFixedLayout, InExRecordsInBothCharacterForms) {
    std::vector<InExFilterRow> rows(2);
    rows[0].text = u"k\u00f6nig*";
    rows[1].text = std::u16string(300, u'p');
    rows[1].include = false;
    for (const bool wide : {true, false}) {
        Bytes bytes = filters::fixed_layout::WriteInEx(rows, wide);
        bytes[32] = 7;  // a type other than 1 means exclude
        std::vector<InExFilterRow> read;
        ASSERT_TRUE(filters::fixed_layout::ReadInEx(filters::BytesReader(bytes), read));
        ASSERT_EQ(read.size(), 2u);
        EXPECT_EQ(read[0].text, u"k\u00f6nig*");
        EXPECT_TRUE(read[0].regularExpression && read[0].enable);
        EXPECT_FALSE(read[0].matchCase || read[0].include);
        EXPECT_EQ(read[1].text.size(), 259u);
        EXPECT_FALSE(read[1].regularExpression);
    }
    // An unknown character form passes the header but brings no records; a
    // count far beyond the data costs nothing.
    Bytes odd = filters::fixed_layout::WriteInEx(rows, true);
    odd[8] = 2;
    std::vector<InExFilterRow> none;
    EXPECT_TRUE(filters::fixed_layout::ReadInEx(filters::BytesReader(odd), none));
    EXPECT_TRUE(none.empty());
    Bytes huge = filters::fixed_layout::WriteInEx(rows, false);
    huge[12] = huge[13] = huge[14] = huge[15] = 0xFF;
    bool leftOut = false;
    EXPECT_TRUE(filters::fixed_layout::ReadInEx(filters::BytesReader(huge), none, &leftOut));
    EXPECT_EQ(none.size(), 2u);
    EXPECT_FALSE(leftOut) << "the records the file holds all came in";

    // More records than one file brings in: the rest is left out, and said so.
    const Bytes many = filters::fixed_layout::WriteInEx(
        std::vector<InExFilterRow>(filters::kMaxFiltersPerFile + 1, rows[0]), true);
    none.clear();
    EXPECT_TRUE(filters::fixed_layout::ReadInEx(filters::BytesReader(many), none, &leftOut));
    EXPECT_EQ(none.size(), filters::kMaxFiltersPerFile);
    EXPECT_TRUE(leftOut);
}

}  // namespace
