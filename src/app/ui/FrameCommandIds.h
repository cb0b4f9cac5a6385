#pragma once
// The main window's own commands, by their command identifiers. The
// document, view and application commands keep theirs in their own headers.

namespace app_ui {

enum FrameCommandId : int {
    kCmdFileOpen = 57601,
    kCmdOpenCommand = 40201,  // "Open Comman&d..."
    kCmdFileClose = 57602,
    kCmdCloseAllDocuments = 40061,  // "Close &All"
    kCmdAppExit = 57665,
    kCmdAppAbout = 57664,
    kCmdViewToolbar = 59392,
    kCmdViewStatusBar = 59393,
    kCmdViewTabBar = 40062,  // "&Show" of the tab bar
    kCmdTabBarTop = 40063,
    kCmdTabBarBottom = 40064,
    kCmdAlwaysOnTop = 40065,
    kCmdFont = 40066,
    kCmdRefreshRate = 32795,  // "&Refresh Rate...\tCtrl+F7"
    kCmdBufferSize = 40067,
    kCmdOptions = 40068,
    kCmdHighlightFilters = 32796,  // "&Highlight Filters...\tCtrl+F5"
    kCmdInExFilters = 40040,       // "&Include/Exclude Filters\tCtrl+I"
    kCmdEmailSettings = 40037,     // "&Email Settings...\tCtrl+J"
    kCmdConfirmEmails = 40038,     // "&Confirm Emails...\tCtrl+K"
    kCmdMinimizeToTray = 40069,    // "Minimize to SysTray"
    kCmdWindowCascade = 57650,
    kCmdWindowTileHorizontal = 57651,
    kCmdWindowTileVertical = 57652,
    kCmdTileFullWidth = 40070,        // "Tile Horizontally Full &Width"
    kCmdTileFullHeight = 40071,       // "Tile Vertically &Full Height"
    kCmdWindowNext = 40072,           // "&Next"
    kCmdWindowPrevious = 40073,       // "&Previous"
    kCmdOpenMoreRecentFiles = 40074,  // "Open &More Recent Files..."
    kCmdAutoOpenNewFiles = 40127,     // "&Auto Open New Files...\tCtrl+N"
    kCmdStopUpdating = 40122,         // "Stop &Updating Notification..."
    kCmdSaveAllAs = 40150,            // "Save All As..."
    kCmdOpenJournal = 40151,          // "Open &Journal..."
    kCmdOpenRemote = 40152,           // "Open &Remote File..."
    kCmdDefaultEditor = 40085,        // "&Default Editor..."
    kCmdHelpTopics = 57667,           // "&Help Topics"
    // Keys only, on no menu: the views' font one size up or down.
    kCmdFontLarger = 45110,
    kCmdFontSmaller = 45111,
    // The View menu's colour marks of the selected tab, red to cyan, and
    // "Cl&ear Mark".
    kCmdViewMarkFirst = 45101,
    kCmdViewClearMark = 45107,
};

}  // namespace app_ui
