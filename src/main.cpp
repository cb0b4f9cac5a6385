// The program's entry: the main window following the files of the command
// line. `tarvik --view-only FILE` still shows one document in a bare log view.

#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/TarvikApp.h"
#include "app/WindowRect.h"
#include "app/ui/MainFrame.h"
#include "app/ui/QtUiQueue.h"
#include "view/ViewHarnessWindow.h"

namespace {

bool HasValue(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// Without a display Qt would abort; say what works instead.
bool DisplayAvailable() {
    if (HasValue("QT_QPA_PLATFORM") || HasValue("DISPLAY") || HasValue("WAYLAND_DISPLAY")) {
        return true;
    }
    std::fputs(
        "tarvik: no display found.\n"
        "Run it with QT_QPA_PLATFORM=offscreen to start without a screen, or follow a file\n"
        "in the terminal with tarvik-tail FILE.\n",
        stderr);
    return false;
}

int RunViewOnly(const QString& path) {
    app::CTarvikApp app;
    bool maximized = true;
    app::WindowRect rect;
    app.LoadOptions(maximized, rect);
    view::CViewHarnessWindow window(app);
    app.SetDocumentHost(&window);
    app.SetUserInterface(&window);
    window.show();
    if (!app.OpenDocument(path.toStdU16String())) return 1;
    const int result = QApplication::exec();
    for (const auto& doc : app.Documents()) window.DestroyDocumentFrame(*doc);
    app.SetDocumentHost(nullptr);
    app.SetUserInterface(nullptr);
    return result;
}

int RunMainFrame(const QStringList& args) {
    app_ui::CQtUiQueue queue;
    app::CTarvikApp app(platform::SystemClock::Instance(), &queue);
    bool maximized = true;
    app::WindowRect rect;
    app.LoadOptions(maximized, rect);
    app_ui::CMainFrame frame(app);
    frame.ShowWithPlacement(maximized, rect);
    frame.ApplyAlwaysOnTop();
    std::vector<std::u16string> argv;
    for (const QString& arg : args) argv.push_back(arg.toStdU16String());
    frame.OpenCommandLine(argv);
    return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!DisplayAvailable()) return 2;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ostra Tarvik"));
    const QStringList args = QApplication::arguments();
    if (args.size() >= 2 && args.at(1) == QStringLiteral("--view-only")) {
        if (args.size() != 3) {
            std::fputs("usage: tarvik --view-only FILE\n", stderr);
            return 2;
        }
        return RunViewOnly(args.at(2));
    }
    return RunMainFrame(args);
}
