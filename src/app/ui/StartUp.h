#pragma once
// The steps of start-up that follow the main window's creation: taking a
// later start's command line, reopening the files of the last session, and
// what an activated desktop notification brings forward.

#include <functional>
#include <string>
#include <vector>

namespace app {
class CTarvikApp;
}

namespace discovery {
class CRecentFileList;
}

namespace app_ui {

class CMainFrame;

// Names the lock and socket that make one instance per user.
inline constexpr const char* kInstanceMutexName =
    "OSTRATARVIK_D04109C4_D08E_43F4_BA5E_2922BCA44B62_ANSI";

// Opens up to limit entries of the list from the front. An entry that fails
// to open leaves the list, and the entry that moves into its place is tried
// next. Returns how many opened.
int ReopenRecentFiles(discovery::CRecentFileList& list, int limit,
                      const std::function<bool(const std::u16string&)>& open);

// Reopens the recent files the options ask for, arranges the windows and
// clears them when asked. Failures are removed from the list silently.
void ReopenAtStartUp(CMainFrame& frame, app::CTarvikApp& app);

// A later start's arguments (after its program name): the window comes back
// from the tray to the front and the files open as a command line.
void ReceiveHandOver(CMainFrame& frame, const std::vector<std::u16string>& arguments);

// A desktop notification of a matched line was activated: the window comes
// back from the tray to the front with the document active and its view at
// the line (0-based). A document closed since brings only the window.
void BringDocumentForward(CMainFrame& frame, app::CTarvikApp& app, const void* document,
                          int lineIndex);

}  // namespace app_ui
