#pragma once
// The general options the application holds for the whole run, named as their
// values under the Options key and initialised with their defaults. The main
// window's placement (maximized flag, normal rectangle) is not kept here: it
// travels as arguments of the load and save.

#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/LogFont.h"

namespace settings {

// How log files are decoded. Automatic reads UTF-16LE files exactly as such
// and recognises UTF-8 ones.
enum class TextEncodingChoice : std::uint32_t { Automatic = 0, Utf16Le = 1, Utf8 = 2 };

// Longest texts kept from the store (the dialogs' buffers, without their terminator).
inline constexpr std::size_t kMaxDefaultEditorChars = 519;
inline constexpr std::size_t kMaxBoundChars = 511;

inline constexpr std::int32_t kDefaultTabSize = 4;
inline constexpr std::int32_t kMaxTabSize = 64;

struct Options {
    LogFont UFont;
    bool AlwaysOnTop = false;
    bool LimitBufSize = true;
    std::uint32_t MaxBufSiz = 20971520;
    std::int32_t RetainLineNum = 10;
    bool ToolbarVisible = true;
    bool StatusBarVisible = true;
    bool TabBarVisible = true;
    bool TabBarTop = true;
    bool MaxChildFrame = true;
    bool DrawRedLine = true;
    bool RemovePreRedLine = false;
    bool ODSTimestamp = true;
    bool ODSSequenceNumber = true;
    bool ODSDispProcessID = true;
    bool ODSAllProcess = true;
    std::uint32_t ODSProcessID = 0;
    std::uint32_t IntervalChkFile = 100;
    // The platform's usual program for opening a file.
    std::u16string DefaultEditor = u"xdg-open";
    bool MinimizeEsc = false;
    bool MinimizeWndMin = false;
    bool EnableHotkey = true;
    bool BlinkIcon = true;
    bool FlashTabItem = true;
    // Show new lines at once: a followed file's changes are watched with file
    // events, the refresh timer stays as the longest wait.
    bool WatchFileEvents = true;
    bool StatusbarClock = true;
    bool DisplayFullPath = true;
    bool OpenFilesWhenStartup = false;
    std::int32_t OpenFilesNumberWhenStartup = 1;
    bool EnableMaxTabItemLen = false;
    std::int32_t MaxTabItemLen = 16;
    std::int32_t TabSize = kDefaultTabSize;
    bool InvertColorSelText = true;
    std::int32_t MouseWheelScrollLines = 4;
    std::int32_t MouseWheelScrollColumns = 12;
    bool ForcePoll = false;
    bool StopPollWhenVScrollUp = true;
    bool StopPollWhenHScrollRight = false;
    bool StopPollWhenMoveCaretNotAtEnd = false;
    bool AutoCopy = false;
    bool SpecialSelect = true;
    std::u16string LeftBounds = u"\"[(";
    std::u16string RightBounds = u"\"])";
    bool AutoMonitor = true;
    std::int32_t BlankLines = 2;
    bool WriteFilePath = true;
    std::int32_t ArrangeReopenedFile = 0;
    bool ClearWndWhenOpenFileOnStartUp = false;
    bool ClearWndWhenOpenFile = false;
    bool EnableInExFilters = true;
    bool ReloadAllDocsInExclude = true;
    bool HighlightLine = true;
    std::uint32_t HLLineBkgColor = 0xC0FFFF;  // 0x00BBGGRR
    bool FillLineBlankInBkgColor = false;
    bool IgnoreReplaceTextForGotoHFilter = false;
    bool IgnoreHighlightEntireLineForGotoHFilter = false;
    bool RemoveAllFiltersBeforeImport = false;
    bool SaveOutputDebugString2File = false;
    std::u16string OutputDebugStringSavedFile;
    bool CaptureODSStartup = false;
    bool ShowSpaceForBadChar = true;
    TextEncodingChoice TextEncoding = TextEncodingChoice::Automatic;
    std::uint32_t AOFCheckInterval = 1;
    bool AOFEnableMaxOpenFileNum = false;
    std::int32_t AOFMaxOpenFiles = 10;
    bool AOFOpenExistingFilesOnStartUp = false;
    // Read on its own before anything else at start-up, not with the others.
    bool OnlyOneInstance = true;

    bool operator==(const Options&) const = default;
};

}  // namespace settings
