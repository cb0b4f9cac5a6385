#include "app/ui/StartUp.h"

#include <QMdiArea>
#include <QString>

#include "app/TarvikApp.h"
#include "app/ui/ChildFrame.h"
#include "app/ui/FrameCommandIds.h"
#include "app/ui/MainFrame.h"
#include "discovery/PathIdentity.h"
#include "discovery/RecentFileList.h"

namespace app_ui {

namespace {

// The values of ArrangeReopenedFile.
enum class Arrangement {
    Maximize = 0,
    Cascade = 1,
    TileHorizontally = 2,
    TileFullWidth = 3,
    TileVertically = 4,
    TileFullHeight = 5,
    LastViewedPosition = 6,
};

void Arrange(CMainFrame& frame, int arrangement) {
    switch (static_cast<Arrangement>(arrangement)) {
        case Arrangement::Maximize:
            if (CChildFrame* active = frame.ActiveChildFrame()) active->showMaximized();
            break;
        case Arrangement::Cascade:
            frame.RunCommand(kCmdWindowCascade);
            break;
        case Arrangement::TileHorizontally:
            frame.RunCommand(kCmdWindowTileHorizontal);
            break;
        case Arrangement::TileFullWidth:
            frame.TileFullWidth();
            break;
        case Arrangement::TileVertically:
            frame.RunCommand(kCmdWindowTileVertical);
            break;
        case Arrangement::TileFullHeight:
            frame.TileFullHeight();
            break;
        case Arrangement::LastViewedPosition:
            // Each window takes its stored position when first activated.
            break;
    }
}

bool IsOpen(const app::CTarvikApp& app, const std::u16string& path) {
    const std::u16string wanted = discovery::NormalDocumentName(path);
    for (const auto& doc : app.Documents()) {
        if (doc->GetPathName() == wanted) return true;
    }
    return false;
}

}  // namespace

int ReopenRecentFiles(discovery::CRecentFileList& list, int limit,
                      const std::function<bool(const std::u16string&)>& open) {
    int opened = 0;
    std::size_t index = 0;
    while (index < list.Size() && static_cast<int>(index) < limit) {
        // A copy: opening may reorder the list.
        const std::u16string path = list.Entries()[index];
        if (path.empty()) {
            ++index;
        } else if (open(path)) {
            ++opened;
            ++index;
        } else {
            list.RemoveAt(index);
        }
    }
    return opened;
}

void ReopenAtStartUp(CMainFrame& frame, app::CTarvikApp& app) {
    const settings::Options& options = app.GetOptions();
    if (!options.OpenFilesWhenStartup) return;
    frame.SetRecordingRecentFiles(false);
    app.SetReportOpenFailure(false);
    ReopenRecentFiles(frame.RecentFiles(), options.OpenFilesNumberWhenStartup,
                      [&app](const std::u16string& path) {
                          // A file the command line opened already counts as reopened.
                          return IsOpen(app, path) || app.OpenDocument(path) != nullptr;
                      });
    app.SetReportOpenFailure(true);
    frame.SetRecordingRecentFiles(true);
    Arrange(frame, options.ArrangeReopenedFile);
    if (options.ClearWndWhenOpenFileOnStartUp) {
        app.ClearAllDocuments();
        frame.StopAllTabFlashing();
    }
}

void ReceiveHandOver(CMainFrame& frame, const std::vector<std::u16string>& arguments) {
    frame.RestoreFromTray(true);
    if (arguments.empty()) return;
    std::vector<std::u16string> argv{u""};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    frame.OpenCommandLine(argv);
}

void BringDocumentForward(CMainFrame& frame, app::CTarvikApp& app, const void* document,
                          int lineIndex) {
    frame.RestoreFromTray(true);
    for (const auto& doc : app.Documents()) {
        if (doc.get() != document) continue;
        frame.ActivateDocument(*doc);
        if (doc->GetView() && lineIndex >= 0) doc->GetView()->PostGoToLine(lineIndex + 1);
        return;
    }
}

}  // namespace app_ui
