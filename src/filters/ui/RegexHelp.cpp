#include "filters/ui/RegexHelp.h"

#include "app/HelpPages.h"

namespace filters_ui {

QString RegexHelpPathFor(const QString& programFolder) {
    return QString::fromStdString(
        app::HelpPagePathFor(programFolder.toStdString(), app::kRegexPage));
}

QString RegexHelpPath() {
    return QString::fromStdString(app::HelpPagePath(app::kRegexPage));
}

void OpenRegexHelp() {
    app::OpenHelpPage(app::kRegexPage);
}

}  // namespace filters_ui
