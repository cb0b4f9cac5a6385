#include "filters/ui/RegexHelp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace filters_ui {

QString RegexHelpPathFor(const QString& programFolder) {
    const QString name = QStringLiteral("tvregex.htm");
    const QString beside = QDir(programFolder).filePath(name);
    if (QFileInfo::exists(beside)) return beside;
    const QString installed = QDir::cleanPath(
        QDir(programFolder).filePath(QStringLiteral("../share/ostra-tarvik/") + name));
    if (QFileInfo::exists(installed)) return installed;
    return beside;
}

QString RegexHelpPath() {
    if (QCoreApplication::instance() == nullptr) return {};
    const QString folder = QCoreApplication::applicationDirPath();
    if (folder.isEmpty()) return {};
    return RegexHelpPathFor(folder);
}

void OpenRegexHelp() {
    const QString page = RegexHelpPath();
    if (page.isEmpty()) return;
    // Detached: the viewer outlives nothing of ours and is never waited for.
    QProcess::startDetached(QStringLiteral("xdg-open"), {page});
}

}  // namespace filters_ui
