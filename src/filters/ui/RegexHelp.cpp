#include "filters/ui/RegexHelp.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

namespace filters_ui {

void OpenRegexHelp(QWidget*) {
    const QString folder = QCoreApplication::applicationDirPath();
    if (folder.isEmpty()) return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder + QStringLiteral("/help/tvregex.htm")));
}

}  // namespace filters_ui
