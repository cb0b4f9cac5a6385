#include "app/ui/CaptureCommands.h"

#include <QObject>

#include "app/TarvikApp.h"
#include "app/ui/CommandTable.h"
#include "capture/ui/CapturedProcessDialog.h"

namespace app_ui {

void AddCaptureCommands(CCommandTable& commands, app::CTarvikApp& app, QWidget* dialogParent,
                        std::function<void()> titlesChanged) {
    commands.Add(app::kCmdCaptureOutput, QObject::tr("Capture Output&DebugString"),
                 Qt::CTRL | Qt::Key_D, [&app] { app.StartCapture(); });
    const struct {
        int id;
        const char* text;
        Qt::Key key;
    } toggles[] = {
        {app::kCmdOdsSequenceNumber, "&Sequence Number", Qt::Key_F5},
        {app::kCmdOdsProcessId, "Process &ID", Qt::Key_F6},
        {app::kCmdOdsTimestamp, "&Timestamp", Qt::Key_F7},
    };
    for (const auto& toggle : toggles) {
        const int id = toggle.id;
        commands.Add(
            id, QObject::tr(toggle.text), Qt::ALT | toggle.key,
            [&app, id] { app.ToggleCapturePrefix(id); }, {},
            [&app, id] { return app.IsCapturePrefixOn(id); });
    }
    commands.Add(kCmdOdsProcesses, QObject::tr("&Processes..."), Qt::ALT | Qt::Key_F8,
                 [&app, dialogParent, titlesChanged = std::move(titlesChanged)] {
                     const settings::Options& options = app.GetOptions();
                     capture_ui::CCapturedProcessDialog dialog(options.ODSAllProcess,
                                                               options.ODSProcessID,
                                                               app.UserInterface(), dialogParent);
                     if (dialog.exec() != QDialog::Accepted) return;
                     app.SetCapturedProcesses(dialog.AllProcesses(),
                                              dialog.ProcessId().value_or(options.ODSProcessID));
                     if (titlesChanged) titlesChanged();
                 });
}

}  // namespace app_ui
