// The program's entry. Until the main frame exists it offers one way in:
// `tarvik --view-only FILE` shows one document in a log view.

#include <QApplication>
#include <QStringList>
#include <cstdio>

#include "app/TarvikApp.h"
#include "app/WindowRect.h"
#include "view/ViewHarnessWindow.h"

namespace {

int Usage() {
    std::fputs("usage: tarvik --view-only FILE\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ostra Tarvik"));
    const QStringList args = QApplication::arguments();
    if (args.size() != 3 || args.at(1) != QStringLiteral("--view-only")) return Usage();

    app::CTarvikApp app;
    bool maximized = true;
    app::WindowRect rect;
    app.LoadOptions(maximized, rect);
    view::CViewHarnessWindow window(app);
    app.SetDocumentHost(&window);
    app.SetUserInterface(&window);
    window.show();
    if (!app.OpenDocument(args.at(2).toStdU16String())) return 1;
    const int result = QApplication::exec();
    for (const auto& doc : app.Documents()) window.DestroyDocumentFrame(*doc);
    app.SetDocumentHost(nullptr);
    app.SetUserInterface(nullptr);
    return result;
}
