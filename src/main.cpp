// The program's entry: the main window following the files of the command
// line.

#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <QMessageBox>

#include "app/TarvikApp.h"
#include "app/ui/DesktopNotices.h"
#include "app/ui/FirstRunTour.h"
#include "app/ui/FrameIcons.h"
#include "app/ui/MainFrame.h"
#include "app/ui/QtUiQueue.h"
#include "app/ui/SplashScreen.h"
#include "app/ui/StartUp.h"
#include "app/ui/TerminationSignals.h"
#include "discovery/CommandLine.h"
#include "filters/ui/MatchedLinePrinter.h"
#include "mail/SslLibrary.h"
#include "platform/SingleInstance.h"
#include "settings/WindowRect.h"
#include "view/PlainMessageBox.h"

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

constexpr auto kSupportAddress = "support@ostra-tarvik.example.org";

void ReportSslFailure() {
    // Plain text, so that the address in angle brackets shows.
    view::ShowPlainMessage(nullptr, QMessageBox::Warning,
                           QStringLiteral("The program failed to initiate. Please reinstall the "
                                          "program or contact us at <%1>.")
                               .arg(QString::fromLatin1(kSupportAddress)),
                           QString::fromLatin1(app_ui::CMainFrame::kTitle));
}

void ShowSplash(QWidget& frame) {
    if (!app_ui::CSplashScreen::Wanted()) return;
    auto* splash = new app_ui::CSplashScreen(&frame);
    splash->ShowForAMoment();
}

// Beside the window rather than modal, so that start-up goes on; left out
// where no one sees the screen.
void ShowTour(QWidget& frame) {
    if (!app_ui::CSplashScreen::Wanted() || !app_ui::CFirstRunTour::Wanted()) return;
    auto* tour = new app_ui::CFirstRunTour(&frame);
    tour->setAttribute(Qt::WA_DeleteOnClose);
    tour->show();
}

int RunMainFrame(const QStringList& args) {
    std::vector<std::u16string> argv;
    for (const QString& arg : args) argv.push_back(arg.toStdU16String());
    // A running instance resolves nothing against this one's folder, and is
    // handed no empty argument.
    argv = discovery::WithNormalPaths(discovery::WithoutEmptyArguments(argv));
    app_ui::CQtUiQueue queue;
    // Before the application, so that no document outlives the printer it prints
    // on or the notices it shows.
    filters_ui::CMatchedLinePrinter printer(platform::SystemClock::Instance());
    app_ui::CDesktopNotices notices(platform::SystemClock::Instance());
    app::CTarvikApp app(platform::SystemClock::Instance(), &queue);
    app.EnableHighlightActions(&printer);
    app.SetDesktopNotice(&notices);
    app.Mail().StopUpdating().SetDesktopNotice(&notices);
    const bool onlyOneInstance = app.LoadOnlyOneInstance();

    // Hand-overs wait in the queue until the event loop runs, when the frame exists.
    app_ui::CMainFrame* frameForHandOver = nullptr;
    platform::CSingleInstance instance(app_ui::kInstanceMutexName);
    const std::vector<std::u16string> arguments(argv.begin() + (argv.empty() ? 0 : 1), argv.end());
    const platform::InstanceStart start =
        instance.Start(onlyOneInstance, arguments, queue,
                       [&frameForHandOver](std::vector<std::u16string> handedOver) {
                           if (frameForHandOver)
                               app_ui::ReceiveHandOver(*frameForHandOver, handedOver);
                       });
    if (start == platform::InstanceStart::HandedOver) return 0;

    if (!mail::InitSslLibrary()) {
        ReportSslFailure();
        return 1;
    }
    bool maximized = true;
    settings::WindowRect rect;
    app.LoadOptions(maximized, rect);
    app_ui::CMainFrame frame(app);
    ShowSplash(frame);
    frame.ShowWithPlacement(maximized, rect);
    frame.ApplyAlwaysOnTop();
    frameForHandOver = &frame;
    notices.SetActivate([&frame, &app](filters::DocumentRef document, int lineIndex) {
        app_ui::BringDocumentForward(frame, app, document, lineIndex);
    });
    frame.OpenCommandLine(argv);
    if (app.GetOptions().CaptureODSStartup) app.StartCapture();
    app_ui::ReopenAtStartUp(frame, app);
    app.StartAutoOpenWatcher(true);
    ShowTour(frame);
    // A termination request closes as Exit does, after what is already queued
    // (a hand-over taken just before it still opens and is remembered).
    app_ui::CTerminationSignals termination;
    QObject::connect(&termination, &app_ui::CTerminationSignals::terminationRequested, &frame,
                     [&queue, &frame] { queue.Post([&frame] { frame.Exit(); }); });
    const int result = QApplication::exec();
    frameForHandOver = nullptr;
    notices.SetActivate({});
    return result;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!DisplayAvailable()) return 2;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ostra Tarvik"));
    // Desktops match the windows to the installed launcher entry and icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(app_ui::kDesktopName));
    QApplication::setWindowIcon(app_ui::ApplicationIcon());
    return RunMainFrame(QApplication::arguments());
}
