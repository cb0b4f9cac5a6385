#include "settings/OptionsStore.h"

#include <vector>

#include "platform/Registry.h"
#include "settings/RegValueIo.h"
#include "settings/RegistryPaths.h"

namespace settings {

using platform::ERROR_SUCCESS;
using platform::RegKey;
using platform::RegRoot;

namespace {

// ---- loading, in the order the values are kept ----

void LoadFont(const RegKey& key, Options& o) {
    std::vector<std::uint8_t> bytes;
    std::optional<LogFont> font;
    if (key.QueryBinary(u"UFont", bytes) == ERROR_SUCCESS) font = LogFont::FromBytes(bytes);
    o.UFont = font.value_or(LogFont{});
}

void LoadWindowRect(const RegKey& key, WindowRect& rect) {
    std::vector<std::uint8_t> bytes;
    if (key.QueryBinary(u"MainWndRect", bytes) != ERROR_SUCCESS) return;
    if (auto stored = WindowRect::FromBytes(bytes)) rect = *stored;
}

void LoadFrameValues(const RegKey& key, Options& o, bool& maximized) {
    ReadFlag(key, u"AlwaysOnTop", o.AlwaysOnTop);
    ReadFlag(key, u"LimitBufSize", o.LimitBufSize);
    ReadDword(key, u"MaxBufSiz", o.MaxBufSiz);
    ReadInt(key, u"RetainLineNum", o.RetainLineNum);
    ReadFlag(key, u"ToolbarVisible", o.ToolbarVisible);
    ReadFlag(key, u"StatusBarVisible", o.StatusBarVisible);
    ReadFlag(key, u"TabBarVisible", o.TabBarVisible);
    ReadFlag(key, u"TabBarTop", o.TabBarTop);
    ReadFlag(key, u"MaxChildFrame", o.MaxChildFrame);
    ReadFlag(key, u"DrawRedLine", o.DrawRedLine);
    ReadFlag(key, u"RemovePreRedLine", o.RemovePreRedLine);
    ReadFlag(key, u"WndMaximized", maximized);
}

void LoadCaptureAndEditorValues(const RegKey& key, Options& o) {
    ReadFlag(key, u"ODSTimestamp", o.ODSTimestamp);
    ReadFlag(key, u"ODSSequenceNumber", o.ODSSequenceNumber);
    ReadFlag(key, u"ODSDispProcessID", o.ODSDispProcessID);
    ReadFlag(key, u"ODSAllProcess", o.ODSAllProcess);
    ReadDword(key, u"ODSProcessID", o.ODSProcessID);
    ReadDword(key, u"IntervalChkFile", o.IntervalChkFile);
    ReadTextCut(key, u"DefaultEditor", o.DefaultEditor, kMaxDefaultEditorChars);
}

void LoadShellValues(const RegKey& key, Options& o) {
    ReadFlag(key, u"MinimizeEsc", o.MinimizeEsc);
    ReadFlag(key, u"MinimizeWndMin", o.MinimizeWndMin);
    ReadFlag(key, u"EnableHotkey", o.EnableHotkey);
    ReadFlag(key, u"BlinkIcon", o.BlinkIcon);
    ReadFlag(key, u"FlashTabItem", o.FlashTabItem);
    ReadFlag(key, u"WatchFileEvents", o.WatchFileEvents);
    ReadFlag(key, u"StatusbarClock", o.StatusbarClock);
    ReadFlag(key, u"DisplayFullPath", o.DisplayFullPath);
    ReadFlag(key, u"OpenFilesWhenStartup", o.OpenFilesWhenStartup);
    ReadInt(key, u"OpenFilesNumberWhenStartup", o.OpenFilesNumberWhenStartup);
    ReadFlag(key, u"EnableMaxTabItemLen", o.EnableMaxTabItemLen);
    ReadInt(key, u"MaxTabItemLen", o.MaxTabItemLen);
}

void LoadViewValues(const RegKey& key, Options& o) {
    if (ReadInt(key, u"TabSize", o.TabSize) && (o.TabSize <= 0 || o.TabSize > kMaxTabSize)) {
        o.TabSize = kDefaultTabSize;
    }
    ReadFlag(key, u"InvertColorSelText", o.InvertColorSelText);
    ReadInt(key, u"MouseWheelScrollLines", o.MouseWheelScrollLines);
    ReadInt(key, u"MouseWheelScrollColumns", o.MouseWheelScrollColumns);
    ReadFlag(key, u"ForcePoll", o.ForcePoll);
    ReadFlag(key, u"StopPollWhenVScrollUp", o.StopPollWhenVScrollUp);
    ReadFlag(key, u"StopPollWhenHScrollRight", o.StopPollWhenHScrollRight);
    ReadFlag(key, u"StopPollWhenMoveCaretNotAtEnd", o.StopPollWhenMoveCaretNotAtEnd);
    ReadFlag(key, u"AutoCopy", o.AutoCopy);
    ReadFlag(key, u"SpecialSelect", o.SpecialSelect);
    ReadTextCut(key, u"LeftBounds", o.LeftBounds, kMaxBoundChars);
    ReadTextCut(key, u"RightBounds", o.RightBounds, kMaxBoundChars);
    ReadFlag(key, u"AutoMonitor", o.AutoMonitor);
}

void LoadDocumentValues(const RegKey& key, Options& o) {
    ReadInt(key, u"BlankLines", o.BlankLines);
    ReadFlag(key, u"WriteFilePath", o.WriteFilePath);
    ReadInt(key, u"ArrangeReopenedFile", o.ArrangeReopenedFile);
    ReadFlag(key, u"ClearWndWhenOpenFileOnStartUp", o.ClearWndWhenOpenFileOnStartUp);
    ReadFlag(key, u"ClearWndWhenOpenFile", o.ClearWndWhenOpenFile);
    ReadFlag(key, u"EnableInExFilters", o.EnableInExFilters);
    ReadFlag(key, u"ReloadAllDocsInExclude", o.ReloadAllDocsInExclude);
}

void LoadHighlightValues(const RegKey& key, Options& o) {
    ReadFlag(key, u"HighlightLine", o.HighlightLine);
    ReadDword(key, u"HLLineBkgColor", o.HLLineBkgColor);
    ReadFlag(key, u"FillLineBlankInBkgColor", o.FillLineBlankInBkgColor);
    ReadFlag(key, u"IgnoreReplaceTextForGotoHFilter", o.IgnoreReplaceTextForGotoHFilter);
    ReadFlag(key, u"IgnoreHighlightEntireLineForGotoHFilter",
             o.IgnoreHighlightEntireLineForGotoHFilter);
    ReadFlag(key, u"RemoveAllFiltersBeforeImport", o.RemoveAllFiltersBeforeImport);
}

void LoadTextEncoding(const RegKey& key, Options& o) {
    std::uint32_t raw = 0;
    if (!ReadDword(key, u"TextEncoding", raw)) return;
    const bool known = raw <= static_cast<std::uint32_t>(TextEncodingChoice::Utf8);
    o.TextEncoding = known ? static_cast<TextEncodingChoice>(raw) : TextEncodingChoice::Automatic;
}

void LoadCaptureFileValues(const RegKey& key, Options& o) {
    ReadFlag(key, u"SaveOutputDebugString2File", o.SaveOutputDebugString2File);
    ReadText(key, u"OutputDebugStringSavedFile", o.OutputDebugStringSavedFile);
    ReadFlag(key, u"CaptureODSStartup", o.CaptureODSStartup);
    ReadFlag(key, u"ShowSpaceForBadChar", o.ShowSpaceForBadChar);
    LoadTextEncoding(key, o);
}

void LoadAutoOpenValues(const RegKey& key, Options& o) {
    if (ReadDword(key, u"AOFCheckInterval", o.AOFCheckInterval) && o.AOFCheckInterval == 0) {
        o.AOFCheckInterval = 1;
    }
    ReadFlag(key, u"AOFEnableMaxOpenFileNum", o.AOFEnableMaxOpenFileNum);
    if (ReadInt(key, u"AOFMaxOpenFiles", o.AOFMaxOpenFiles) && o.AOFMaxOpenFiles <= 0) {
        o.AOFMaxOpenFiles = 1;
    }
    ReadFlag(key, u"AOFOpenExistingFilesOnStartUp", o.AOFOpenExistingFilesOnStartUp);
}

// ---- saving, group by group ----

void WriteFontGroup(RegKey& key, const Options& o) {
    const auto bytes = o.UFont.ToBytes();
    key.SetBinary(u"UFont", bytes.data(), static_cast<platform::DWORD>(bytes.size()));
}

void WriteBufferGroup(RegKey& key, const Options& o) {
    WriteDword(key, u"MaxBufSiz", o.MaxBufSiz);
    WriteFlag(key, u"LimitBufSize", o.LimitBufSize);
    WriteInt(key, u"RetainLineNum", o.RetainLineNum);
}

void WritePlacementGroup(RegKey& key, bool maximized, const WindowRect* rect) {
    WriteFlag(key, u"WndMaximized", maximized);
    if (rect == nullptr) return;
    const auto bytes = rect->ToBytes();
    key.SetBinary(u"MainWndRect", bytes.data(), static_cast<platform::DWORD>(bytes.size()));
}

void WriteAutoOpenGroup(RegKey& key, const Options& o) {
    WriteDword(key, u"AOFCheckInterval", o.AOFCheckInterval);
    WriteFlag(key, u"AOFEnableMaxOpenFileNum", o.AOFEnableMaxOpenFileNum);
    WriteInt(key, u"AOFMaxOpenFiles", o.AOFMaxOpenFiles);
    WriteFlag(key, u"AOFOpenExistingFilesOnStartUp", o.AOFOpenExistingFilesOnStartUp);
}

void WriteHighlightGroup(RegKey& key, const Options& o) {
    WriteFlag(key, u"HighlightLine", o.HighlightLine);
    WriteDword(key, u"HLLineBkgColor", o.HLLineBkgColor);
    WriteFlag(key, u"FillLineBlankInBkgColor", o.FillLineBlankInBkgColor);
    WriteFlag(key, u"IgnoreReplaceTextForGotoHFilter", o.IgnoreReplaceTextForGotoHFilter);
    WriteFlag(key, u"IgnoreHighlightEntireLineForGotoHFilter",
              o.IgnoreHighlightEntireLineForGotoHFilter);
}

void WriteDialogShellValues(RegKey& key, const Options& o) {
    WriteFlag(key, u"MinimizeEsc", o.MinimizeEsc);
    WriteFlag(key, u"MinimizeWndMin", o.MinimizeWndMin);
    WriteFlag(key, u"EnableHotkey", o.EnableHotkey);
    WriteFlag(key, u"BlinkIcon", o.BlinkIcon);
    WriteFlag(key, u"FlashTabItem", o.FlashTabItem);
    WriteFlag(key, u"WatchFileEvents", o.WatchFileEvents);
    WriteFlag(key, u"DrawRedLine", o.DrawRedLine);
    WriteFlag(key, u"RemovePreRedLine", o.RemovePreRedLine);
    WriteFlag(key, u"OpenFilesWhenStartup", o.OpenFilesWhenStartup);
    WriteInt(key, u"OpenFilesNumberWhenStartup", o.OpenFilesNumberWhenStartup);
    WriteFlag(key, u"StatusbarClock", o.StatusbarClock);
    WriteFlag(key, u"DisplayFullPath", o.DisplayFullPath);
    WriteFlag(key, u"EnableMaxTabItemLen", o.EnableMaxTabItemLen);
    WriteInt(key, u"MaxTabItemLen", o.MaxTabItemLen);
}

void WriteDialogViewValues(RegKey& key, const Options& o) {
    WriteInt(key, u"TabSize", o.TabSize);
    WriteFlag(key, u"InvertColorSelText", o.InvertColorSelText);
    WriteInt(key, u"MouseWheelScrollLines", o.MouseWheelScrollLines);
    WriteInt(key, u"MouseWheelScrollColumns", o.MouseWheelScrollColumns);
    WriteFlag(key, u"ForcePoll", o.ForcePoll);
    WriteFlag(key, u"StopPollWhenVScrollUp", o.StopPollWhenVScrollUp);
    WriteFlag(key, u"StopPollWhenHScrollRight", o.StopPollWhenHScrollRight);
    WriteFlag(key, u"StopPollWhenMoveCaretNotAtEnd", o.StopPollWhenMoveCaretNotAtEnd);
    WriteFlag(key, u"AutoCopy", o.AutoCopy);
    WriteFlag(key, u"SpecialSelect", o.SpecialSelect);
    WriteText(key, u"LeftBounds", o.LeftBounds);
    WriteText(key, u"RightBounds", o.RightBounds);
    WriteFlag(key, u"AutoMonitor", o.AutoMonitor);
}

void WriteDialogStartupValues(RegKey& key, const Options& o) {
    WriteInt(key, u"ArrangeReopenedFile", o.ArrangeReopenedFile);
    WriteFlag(key, u"OnlyOneInstance", o.OnlyOneInstance);
    WriteFlag(key, u"ClearWndWhenOpenFileOnStartUp", o.ClearWndWhenOpenFileOnStartUp);
    WriteFlag(key, u"ClearWndWhenOpenFile", o.ClearWndWhenOpenFile);
    WriteFlag(key, u"SaveOutputDebugString2File", o.SaveOutputDebugString2File);
    WriteText(key, u"OutputDebugStringSavedFile", o.OutputDebugStringSavedFile);
    WriteFlag(key, u"CaptureODSStartup", o.CaptureODSStartup);
    WriteFlag(key, u"ShowSpaceForBadChar", o.ShowSpaceForBadChar);
    WriteDword(key, u"TextEncoding", static_cast<std::uint32_t>(o.TextEncoding));
}

void WriteOptionsDialogGroup(RegKey& key, const Options& o) {
    WriteDialogShellValues(key, o);
    WriteDialogViewValues(key, o);
    WriteDialogStartupValues(key, o);
}

void WriteInExGroup(RegKey& key, const Options& o) {
    WriteFlag(key, u"EnableInExFilters", o.EnableInExFilters);
    WriteFlag(key, u"ReloadAllDocsInExclude", o.ReloadAllDocsInExclude);
}

void WriteSaveAllGroup(RegKey& key, const Options& o) {
    WriteInt(key, u"BlankLines", o.BlankLines);
    WriteFlag(key, u"WriteFilePath", o.WriteFilePath);
}

using GroupWriter = void (*)(RegKey&, const Options&);

struct SaveGroup {
    std::uint32_t bits;  // written when any of these bits is set
    GroupWriter write;
};

// Window placement is not among these: its values are not option fields.
constexpr SaveGroup kSaveGroups[] = {
    {option_group::kFont, WriteFontGroup},
    {option_group::kAlwaysOnTop,
     [](RegKey& key, const Options& o) { WriteFlag(key, u"AlwaysOnTop", o.AlwaysOnTop); }},
    {option_group::kBuffer, WriteBufferGroup},
    {option_group::kToolbar,
     [](RegKey& key, const Options& o) { WriteFlag(key, u"ToolbarVisible", o.ToolbarVisible); }},
    {option_group::kStatusBar,
     [](RegKey& key, const Options& o) {
         WriteFlag(key, u"StatusBarVisible", o.StatusBarVisible);
     }},
    {option_group::kAutoOpen, WriteAutoOpenGroup},
    {option_group::kOdsTimestamp,
     [](RegKey& key, const Options& o) { WriteFlag(key, u"ODSTimestamp", o.ODSTimestamp); }},
    {option_group::kOdsSequence,
     [](RegKey& key, const Options& o) {
         WriteFlag(key, u"ODSSequenceNumber", o.ODSSequenceNumber);
     }},
    {option_group::kOdsProcesses,
     [](RegKey& key, const Options& o) { WriteFlag(key, u"ODSAllProcess", o.ODSAllProcess); }},
    {option_group::kOdsProcess,
     [](RegKey& key, const Options& o) { WriteDword(key, u"ODSProcessID", o.ODSProcessID); }},
    {option_group::kRefreshRate,
     [](RegKey& key, const Options& o) { WriteDword(key, u"IntervalChkFile", o.IntervalChkFile); }},
    {option_group::kDefaultEditor,
     [](RegKey& key, const Options& o) { WriteText(key, u"DefaultEditor", o.DefaultEditor); }},
    {option_group::kHighlight, WriteHighlightGroup},
    {option_group::kOdsProcessId,
     [](RegKey& key, const Options& o) {
         WriteFlag(key, u"ODSDispProcessID", o.ODSDispProcessID);
     }},
    {option_group::kOptionsDialog, WriteOptionsDialogGroup},
    {option_group::kInExFilters, WriteInExGroup},
    // Both filter dialogs show this one check box; it is written once.
    {option_group::kHighlight | option_group::kInExFilters,
     [](RegKey& key, const Options& o) {
         WriteFlag(key, u"RemoveAllFiltersBeforeImport", o.RemoveAllFiltersBeforeImport);
     }},
    {option_group::kTabBar,
     [](RegKey& key, const Options& o) { WriteFlag(key, u"TabBarVisible", o.TabBarVisible); }},
    {option_group::kTabBarPosition,
     [](RegKey& key, const Options& o) { WriteFlag(key, u"TabBarTop", o.TabBarTop); }},
    {option_group::kChildState,
     [](RegKey& key, const Options& o) { WriteFlag(key, u"MaxChildFrame", o.MaxChildFrame); }},
    {option_group::kSaveAll, WriteSaveAllGroup},
};

}  // namespace

void LoadOptionValues(Options& options, bool& maximized, WindowRect& rect) {
    RegKey key;
    if (key.Open(RegRoot::CurrentUser, reg_paths::kOptions) != ERROR_SUCCESS) return;
    LoadFont(key, options);
    LoadFrameValues(key, options, maximized);
    LoadCaptureAndEditorValues(key, options);
    LoadShellValues(key, options);
    LoadViewValues(key, options);
    LoadDocumentValues(key, options);
    LoadHighlightValues(key, options);
    LoadWindowRect(key, rect);
    LoadCaptureFileValues(key, options);
    LoadAutoOpenValues(key, options);
}

bool SaveOptionGroups(const Options& options, std::uint32_t mask, bool maximized,
                      const WindowRect* rect) {
    if (mask == 0) return false;
    platform::RegTransaction transaction;
    RegKey key;
    if (key.Create(RegRoot::CurrentUser, reg_paths::kOptions) != ERROR_SUCCESS) return true;
    for (const SaveGroup& group : kSaveGroups) {
        if (mask & group.bits) group.write(key, options);
    }
    if (mask & option_group::kWindowPlacement) WritePlacementGroup(key, maximized, rect);
    return true;
}

bool ReadOnlyOneInstance() {
    bool onlyOne = Options{}.OnlyOneInstance;
    RegKey key;
    if (key.Open(RegRoot::CurrentUser, reg_paths::kOptions) == ERROR_SUCCESS) {
        ReadFlag(key, u"OnlyOneInstance", onlyOne);
    }
    return onlyOne;
}

}  // namespace settings
