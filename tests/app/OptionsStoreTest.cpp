#include "settings/OptionsStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/TarvikApp.h"
#include "settings/RegistryPaths.h"
#include "settings/TempRegistry.h"

namespace app_test {
namespace {

using platform::RegKey;
using settings::LogFont;
using settings::Options;
using settings::WindowRect;
using settings::reg_paths::kOptions;
using ::testing::UnorderedElementsAreArray;

// Every field set to something other than its default.
Options NonDefaultOptions() {
    Options o;
    o.UFont.SetFaceName(u"DejaVu Sans Mono");
    o.UFont.lfHeight = -15;
    o.UFont.lfWeight = 700;
    o.UFont.lfItalic = 1;
    o.UFont.lfCharSet = 0;
    o.UFont.lfPitchAndFamily = 49;
    o.AlwaysOnTop = true;
    o.LimitBufSize = false;
    o.MaxBufSiz = 3000000000u;
    o.RetainLineNum = 25;
    o.ToolbarVisible = false;
    o.StatusBarVisible = false;
    o.TabBarVisible = false;
    o.TabBarTop = false;
    o.MaxChildFrame = false;
    o.DrawRedLine = false;
    o.RemovePreRedLine = true;
    o.ODSTimestamp = false;
    o.ODSSequenceNumber = false;
    o.ODSDispProcessID = false;
    o.ODSAllProcess = false;
    o.ODSProcessID = 4242;
    o.IntervalChkFile = 250;
    o.DefaultEditor = u"gedit --new-window";
    o.MinimizeEsc = true;
    o.MinimizeWndMin = true;
    o.EnableHotkey = false;
    o.BlinkIcon = false;
    o.FlashTabItem = false;
    o.WatchFileEvents = false;
    o.StatusbarClock = false;
    o.DisplayFullPath = false;
    o.OpenFilesWhenStartup = true;
    o.OpenFilesNumberWhenStartup = 7;
    o.EnableMaxTabItemLen = true;
    o.MaxTabItemLen = 30;
    o.TabSize = 8;
    o.InvertColorSelText = false;
    o.MouseWheelScrollLines = 0;
    o.MouseWheelScrollColumns = 3;
    o.ForcePoll = true;
    o.StopPollWhenVScrollUp = false;
    o.StopPollWhenHScrollRight = true;
    o.StopPollWhenMoveCaretNotAtEnd = true;
    o.AutoCopy = true;
    o.SpecialSelect = false;
    o.LeftBounds = u"<{";
    o.RightBounds = u">}";
    o.AutoMonitor = false;
    o.BlankLines = 0;
    o.WriteFilePath = false;
    o.ArrangeReopenedFile = 6;
    o.ClearWndWhenOpenFileOnStartUp = true;
    o.ClearWndWhenOpenFile = true;
    o.EnableInExFilters = false;
    o.ReloadAllDocsInExclude = false;
    o.HighlightLine = false;
    o.HLLineBkgColor = 0x123456;
    o.FillLineBlankInBkgColor = true;
    o.IgnoreReplaceTextForGotoHFilter = true;
    o.IgnoreHighlightEntireLineForGotoHFilter = true;
    o.RemoveAllFiltersBeforeImport = true;
    o.SaveOutputDebugString2File = true;
    o.OutputDebugStringSavedFile = u"/var/log/captured \u00e9.txt";
    o.CaptureODSStartup = true;
    o.ShowSpaceForBadChar = false;
    o.TextEncoding = settings::TextEncodingChoice::Utf8;
    o.AOFCheckInterval = 9;
    o.AOFEnableMaxOpenFileNum = true;
    o.AOFMaxOpenFiles = 3;
    o.AOFOpenExistingFilesOnStartUp = true;
    o.OnlyOneInstance = false;
    return o;
}

struct Loaded {
    Options options;
    bool maximized = true;
    WindowRect rect;
};

Loaded LoadFromStore(Options start = {}) {
    Loaded loaded;
    loaded.options = std::move(start);
    settings::LoadOptionValues(loaded.options, loaded.maximized, loaded.rect);
    return loaded;
}

void StoreRaw(std::u16string_view name, platform::DWORD type, std::vector<std::uint8_t> bytes) {
    RegKey key = CreateKey(kOptions);
    ASSERT_EQ(key.SetValue(name, type, bytes.data(), static_cast<platform::DWORD>(bytes.size())),
              platform::ERROR_SUCCESS);
}

void StoreDword(std::u16string_view name, std::uint32_t value) {
    RegKey key = CreateKey(kOptions);
    ASSERT_EQ(key.SetDWORD(name, value), platform::ERROR_SUCCESS);
}

void StoreText(std::u16string_view name, std::u16string_view value) {
    RegKey key = CreateKey(kOptions);
    ASSERT_EQ(key.SetString(name, value), platform::ERROR_SUCCESS);
}

using OptionsStoreTest = TempRegistryTest;

TEST_F(OptionsStoreTest, WithoutOptionsKeyEveryDefaultStandsAndTheWindowStartsMaximized) {
    app::CTarvikApp app;
    bool maximized = true;
    WindowRect rect;
    EXPECT_TRUE(app.LoadOptions(maximized, rect));

    const Options& o = app.GetOptions();
    EXPECT_EQ(o, Options{});
    EXPECT_TRUE(maximized);
    EXPECT_TRUE(rect.IsEmpty());
    EXPECT_FALSE(KeyExists(kOptions)) << "loading must not create the key";

    // Spot checks of defaults that other parts depend on.
    EXPECT_EQ(o.UFont.FaceName(), u"Courier New");
    EXPECT_EQ(o.UFont.lfHeight, -12);
    EXPECT_EQ(o.UFont.lfWeight, 400);
    EXPECT_EQ(o.UFont.lfCharSet, 1);
    EXPECT_EQ(o.MaxBufSiz, 20971520u);
    EXPECT_EQ(o.HLLineBkgColor, 0xC0FFFFu);
    EXPECT_EQ(o.LeftBounds, u"\"[(");
    EXPECT_EQ(o.RightBounds, u"\"])");
    EXPECT_EQ(o.DefaultEditor, u"xdg-open");
    EXPECT_EQ(o.TextEncoding, settings::TextEncodingChoice::Automatic);
}

TEST_F(OptionsStoreTest, EveryFieldSurvivesSaveAndLoad) {
    const Options saved = NonDefaultOptions();
    const WindowRect rect{-8, 20, 1280, 1000};
    ASSERT_TRUE(settings::SaveOptionGroups(saved, 0xFFFFFFFFu, false, &rect));

    Loaded loaded = LoadFromStore();
    EXPECT_TRUE(loaded.options.OnlyOneInstance) << "loaded on its own, not with the others";
    loaded.options.OnlyOneInstance = settings::ReadOnlyOneInstance();
    EXPECT_EQ(loaded.options, saved);
    EXPECT_FALSE(loaded.maximized);
    EXPECT_EQ(loaded.rect, rect);
}

TEST_F(OptionsStoreTest, FontOfAnySizeButNinetyTwoBytesGivesTheDefaultFont) {
    Options start;
    start.UFont.SetFaceName(u"Other");
    for (std::size_t size : {0u, 1u, 91u, 93u, 184u}) {
        StoreRaw(u"UFont", platform::REG_BINARY, std::vector<std::uint8_t>(size, 0x41));
        EXPECT_EQ(LoadFromStore(start).options.UFont, LogFont{}) << size << " bytes";
    }
    RegKey key = CreateKey(kOptions);
    key.DeleteValue(u"UFont");
    EXPECT_EQ(LoadFromStore(start).options.UFont, LogFont{}) << "missing value";

    LogFont stored;
    stored.SetFaceName(u"Mono");
    const auto bytes = stored.ToBytes();
    StoreRaw(u"UFont", platform::REG_BINARY, {bytes.begin(), bytes.end()});
    EXPECT_EQ(LoadFromStore(start).options.UFont.FaceName(), u"Mono");
}

TEST_F(OptionsStoreTest, LoadChecksRepairTabSizeCheckIntervalAndMaximumCount) {
    struct Case {
        std::u16string_view name;
        std::uint32_t stored;
        std::int64_t expected;
    };
    const Case cases[] = {
        {u"TabSize", 0, 4},           {u"TabSize", 65, 4},
        {u"TabSize", 0xFFFFFFFFu, 4}, {u"TabSize", 1, 1},
        {u"TabSize", 64, 64},         {u"AOFCheckInterval", 0, 1},
        {u"AOFCheckInterval", 5, 5},  {u"AOFMaxOpenFiles", static_cast<std::uint32_t>(-3), 1},
        {u"AOFMaxOpenFiles", 0, 1},   {u"AOFMaxOpenFiles", 7, 7},
        {u"TextEncoding", 3, 0},      {u"TextEncoding", 1, 1},
    };
    for (const Case& c : cases) {
        StoreDword(c.name, c.stored);
        const Options o = LoadFromStore().options;
        const std::int64_t actual = c.name == u"TabSize"            ? o.TabSize
                                    : c.name == u"AOFCheckInterval" ? o.AOFCheckInterval
                                    : c.name == u"AOFMaxOpenFiles"
                                        ? o.AOFMaxOpenFiles
                                        : static_cast<std::int64_t>(o.TextEncoding);
        EXPECT_EQ(actual, c.expected) << "stored " << c.stored;
    }
}

TEST_F(OptionsStoreTest, NumbersOfTheWrongSizeOrStoredAsTextKeepTheirDefaults) {
    StoreText(u"MaxBufSiz", u"12345");
    StoreText(u"IntervalChkFile", u"a");  // exactly 4 bytes with its terminator
    StoreRaw(u"RetainLineNum", platform::REG_BINARY, {5, 0});
    StoreRaw(u"TabSize", platform::REG_BINARY, {8, 0, 0, 0, 0, 0, 0, 0});
    StoreRaw(u"DrawRedLine", platform::REG_DWORD, {});
    // The type of a 4-byte value is not what makes it a number.
    StoreRaw(u"BlankLines", platform::REG_BINARY, {5, 0, 0, 0});

    const Options o = LoadFromStore().options;
    const Options defaults;
    EXPECT_EQ(o.MaxBufSiz, defaults.MaxBufSiz);
    EXPECT_EQ(o.IntervalChkFile, defaults.IntervalChkFile);
    EXPECT_EQ(o.RetainLineNum, defaults.RetainLineNum);
    EXPECT_EQ(o.TabSize, defaults.TabSize);
    EXPECT_EQ(o.DrawRedLine, defaults.DrawRedLine);
    EXPECT_EQ(o.BlankLines, 5);
}

TEST_F(OptionsStoreTest, TextsAreCutToTheirLimitsAndEndAtTheirFirstZero) {
    StoreText(u"DefaultEditor", std::u16string(600, u'e'));
    StoreText(u"LeftBounds", std::u16string(600, u'<'));
    StoreText(u"OutputDebugStringSavedFile", std::u16string(5000, u'p'));
    StoreRaw(u"RightBounds", platform::REG_SZ, {'>', 0, 0, 0, ']', 0, 0, 0});

    const Options o = LoadFromStore().options;
    EXPECT_EQ(o.DefaultEditor, std::u16string(settings::kMaxDefaultEditorChars, u'e'));
    EXPECT_EQ(o.LeftBounds, std::u16string(settings::kMaxBoundChars, u'<'));
    EXPECT_EQ(o.OutputDebugStringSavedFile.size(), 5000u) << "this path has no length limit";
    EXPECT_EQ(o.RightBounds, u">");
}

struct MaskCase {
    std::uint32_t mask;
    std::vector<std::u16string> written;
};

const MaskCase kMaskCases[] = {
    {0x1, {u"UFont"}},
    {0x2, {u"AlwaysOnTop"}},
    {0x4, {u"MaxBufSiz", u"LimitBufSize", u"RetainLineNum"}},
    {0x10, {u"ToolbarVisible"}},
    {0x20, {u"StatusBarVisible"}},
    {0x40, {u"WndMaximized", u"MainWndRect"}},
    {0x80,
     {u"AOFCheckInterval", u"AOFEnableMaxOpenFileNum", u"AOFMaxOpenFiles",
      u"AOFOpenExistingFilesOnStartUp"}},
    {0x200, {u"ODSTimestamp"}},
    {0x400, {u"ODSSequenceNumber"}},
    {0x800, {u"ODSAllProcess"}},
    {0x1000, {u"ODSProcessID"}},
    {0x2000, {u"IntervalChkFile"}},
    {0x4000, {u"DefaultEditor"}},
    {0x10000,
     {u"HighlightLine", u"HLLineBkgColor", u"FillLineBlankInBkgColor",
      u"IgnoreReplaceTextForGotoHFilter", u"IgnoreHighlightEntireLineForGotoHFilter",
      u"RemoveAllFiltersBeforeImport"}},
    {0x20000, {u"ODSDispProcessID"}},
    {0x40000,
     {u"MinimizeEsc",
      u"MinimizeWndMin",
      u"EnableHotkey",
      u"BlinkIcon",
      u"FlashTabItem",
      u"WatchFileEvents",
      u"DrawRedLine",
      u"RemovePreRedLine",
      u"OpenFilesWhenStartup",
      u"OpenFilesNumberWhenStartup",
      u"StatusbarClock",
      u"DisplayFullPath",
      u"EnableMaxTabItemLen",
      u"MaxTabItemLen",
      u"TabSize",
      u"InvertColorSelText",
      u"MouseWheelScrollLines",
      u"MouseWheelScrollColumns",
      u"ForcePoll",
      u"StopPollWhenVScrollUp",
      u"StopPollWhenHScrollRight",
      u"StopPollWhenMoveCaretNotAtEnd",
      u"AutoCopy",
      u"SpecialSelect",
      u"LeftBounds",
      u"RightBounds",
      u"AutoMonitor",
      u"ArrangeReopenedFile",
      u"OnlyOneInstance",
      u"ClearWndWhenOpenFileOnStartUp",
      u"ClearWndWhenOpenFile",
      u"SaveOutputDebugString2File",
      u"OutputDebugStringSavedFile",
      u"CaptureODSStartup",
      u"ShowSpaceForBadChar",
      u"TextEncoding"}},
    {0x80000, {u"EnableInExFilters", u"ReloadAllDocsInExclude", u"RemoveAllFiltersBeforeImport"}},
    {0x200000, {u"TabBarVisible"}},
    {0x400000, {u"TabBarTop"}},
    {0x800000, {u"MaxChildFrame"}},
    {0x1000000, {u"BlankLines", u"WriteFilePath"}},
    {settings::option_group::kMainWindowDestroyed,
     {u"ToolbarVisible", u"StatusBarVisible", u"TabBarVisible", u"TabBarTop", u"MaxChildFrame"}},
    {0x8 | 0x100 | 0x8000, {}},
};

TEST_F(OptionsStoreTest, EachGroupWritesExactlyItsOwnValues) {
    const WindowRect rect{1, 2, 3, 4};
    for (const MaskCase& c : kMaskCases) {
        RegKey root = CreateKey(settings::reg_paths::kRoot);
        root.DeleteTree(u"Options");
        EXPECT_TRUE(settings::SaveOptionGroups(Options{}, c.mask, true, &rect));
        EXPECT_THAT(ValueNames(kOptions), UnorderedElementsAreArray(c.written))
            << "mask 0x" << std::hex << c.mask;
    }
}

TEST_F(OptionsStoreTest, SavingOneGroupLeavesOtherStoredValuesUntouched) {
    StoreDword(u"TabSize", 7);
    StoreDword(u"MaxBufSiz", 1);
    Options changed;
    changed.MaxBufSiz = 999;
    changed.TabSize = 9;
    ASSERT_TRUE(
        settings::SaveOptionGroups(changed, settings::option_group::kBuffer, true, nullptr));

    const Options o = LoadFromStore().options;
    EXPECT_EQ(o.MaxBufSiz, 999u);
    EXPECT_EQ(o.TabSize, 7);
}

TEST_F(OptionsStoreTest, EmptyMaskWritesNothingAndReportsFailure) {
    EXPECT_FALSE(settings::SaveOptionGroups(NonDefaultOptions(), 0, false, nullptr));
    EXPECT_FALSE(KeyExists(kOptions));

    StoreDword(u"TabSize", 7);
    app::CTarvikApp app;
    app.GetOptions().TabSize = 9;
    EXPECT_FALSE(app.SaveOptions(0, false, nullptr));
    EXPECT_THAT(ValueNames(kOptions), UnorderedElementsAreArray({u"TabSize"}));
    EXPECT_EQ(LoadFromStore().options.TabSize, 7);
}

TEST_F(OptionsStoreTest, WindowPlacementTravelsOutsideTheOptionFields) {
    const WindowRect normal{-4, -4, 1920, 1050};
    ASSERT_TRUE(settings::SaveOptionGroups(Options{}, settings::option_group::kWindowPlacement,
                                           false, &normal));
    Loaded loaded = LoadFromStore();
    EXPECT_FALSE(loaded.maximized);
    EXPECT_EQ(loaded.rect, normal);

    // Without a rectangle only the maximized flag is written.
    ASSERT_TRUE(settings::SaveOptionGroups(Options{}, settings::option_group::kWindowPlacement,
                                           true, nullptr));
    loaded = LoadFromStore();
    EXPECT_TRUE(loaded.maximized);
    EXPECT_EQ(loaded.rect, normal);

    // A damaged rectangle leaves the caller's preset.
    StoreRaw(u"MainWndRect", platform::REG_BINARY, std::vector<std::uint8_t>(15, 1));
    EXPECT_TRUE(LoadFromStore().rect.IsEmpty());
}

TEST_F(OptionsStoreTest, OnlyOneInstanceIsReadOnItsOwn) {
    EXPECT_TRUE(settings::ReadOnlyOneInstance()) << "default without a key";

    StoreDword(u"OnlyOneInstance", 0);
    EXPECT_FALSE(settings::ReadOnlyOneInstance());
    EXPECT_TRUE(LoadFromStore().options.OnlyOneInstance);

    app::CTarvikApp app;
    EXPECT_FALSE(app.LoadOnlyOneInstance());
    EXPECT_FALSE(app.GetOptions().OnlyOneInstance);
    bool maximized = true;
    WindowRect rect;
    app.LoadOptions(maximized, rect);
    EXPECT_FALSE(app.GetOptions().OnlyOneInstance) << "LoadOptions keeps what start-up read";
}

}  // namespace
}  // namespace app_test
