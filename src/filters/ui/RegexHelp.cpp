#include "filters/ui/RegexHelp.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

namespace filters_ui {

QString RegexHelpPath() {
    if (QCoreApplication::instance() == nullptr) return {};
    const QString folder = QCoreApplication::applicationDirPath();
    if (folder.isEmpty()) return {};
    return QDir(folder).filePath(QStringLiteral("tvregex.htm"));
}

void OpenRegexHelp() {
    const QString page = RegexHelpPath();
    if (page.isEmpty()) return;
    // Detached: the viewer outlives nothing of ours and is never waited for.
    QProcess::startDetached(QStringLiteral("xdg-open"), {page});
}

}  // namespace filters_ui
