#pragma once
// The commands of debug-output capture in the main window's table: the
// capture command and the "&OutputDebugString" menu's toggles and
// "&Processes..." dialog.

#include <functional>

class QWidget;

namespace app {
class CTarvikApp;
}

namespace app_ui {

class CCommandTable;

inline constexpr int kCmdOdsProcesses = 32813;  // "&Processes...\tAlt+F8"

// titlesChanged runs after the captured processes changed, for the
// capture document's window title.
void AddCaptureCommands(CCommandTable& commands, app::CTarvikApp& app, QWidget* dialogParent,
                        std::function<void()> titlesChanged);

}  // namespace app_ui
