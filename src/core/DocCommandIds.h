#pragma once
// The menu commands a log document handles, by their command identifiers.

namespace core {

enum DocCommandId : int {
    kCmdStartMonitoring = 32772,  // "&Start\tCtrl+S"
    kCmdPauseMonitoring = 32777,  // "&Pause\tCtrl+P"
    kCmdClearAll = 57633,         // "C&lear All\tCtrl+L"
    kCmdReload = 32789,           // "Rel&oad\tCtrl+R"
    kCmdTruncateLog = 40054,      // "&Truncate Log\tCtrl+Shift+T"
    kCmdOpenInEditor = 32782,     // "Open &Using Default Editor\tCtrl+E"
    kCmdBrowseFolder = 40057,     // "&Browse Log File Folder\tCtrl+B"
    kCmdSaveAs = 57604,           // "Save &As...\tCtrl+G"
};

}  // namespace core
