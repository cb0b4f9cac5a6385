#include "app/ui/FilterFileMenus.h"

#include <QMenu>

#include "app/TarvikApp.h"
#include "app/ui/CommandTable.h"
#include "app/ui/FrameCommandIds.h"
#include "filters/ui/FilterFileUi.h"
#include "filters/ui/FilterImportMenu.h"

namespace app_ui {

using filters_ui::FilterFileKind;

CFilterFileMenus::CFilterFileMenus(QMenu& menu, CCommandTable& commands, app::CTarvikApp& app,
                                   QWidget* window)
    : QObject(window), app_(app), window_(window) {
    const auto ask = [this](FilterFileKind kind) {
        const QString path = filters_ui::AskExportFile(window_, kind);
        if (!path.isEmpty()) Export(kind, path);
    };
    commands.Add(
        kCmdExportHighlightFilters, tr("E&xport Highlight Filters..."), {},
        [ask] { ask(FilterFileKind::Highlight); },
        [this] { return !app_.HighlightFilters().Empty(); });
    commands.Add(kCmdExportInExFilters, tr("Ex&port Include/Exclude Filters..."), {},
                 [ask] { ask(FilterFileKind::InEx); });

    menu.addSeparator();
    highlightImport_ =
        AddImportMenu(menu, tr("I&mport Highlight Filters"), FilterFileKind::Highlight);
    menu.addAction(commands.Action(kCmdExportHighlightFilters));
    inExImport_ = AddImportMenu(menu, tr("Impor&t Include/Exclude Filters"), FilterFileKind::InEx);
    menu.addAction(commands.Action(kCmdExportInExFilters));
}

filters_ui::CFilterImportMenu* CFilterFileMenus::AddImportMenu(QMenu& menu, const QString& title,
                                                               FilterFileKind kind) {
    auto* import = new filters_ui::CFilterImportMenu(title, kind, &menu);
    menu.addMenu(import);
    connect(import, &filters_ui::CFilterImportMenu::importFileRequested, this, [this, kind] {
        const QString path = filters_ui::AskImportFile(window_, kind);
        if (!path.isEmpty()) Import(kind, path);
    });
    connect(import, &filters_ui::CFilterImportMenu::importPresetRequested, this,
            [this, kind](const QString& path) { Import(kind, path); });
    connect(import, &filters_ui::CFilterImportMenu::manageRequested, this, [this, kind] {
        // Every import menu of the kind rebuilds itself when it next opens.
        filters_ui::ManagePresetFiles(window_, kind);
    });
    return import;
}

filters_ui::CFilterImportMenu* CFilterFileMenus::ImportMenu(FilterFileKind kind) const {
    return kind == FilterFileKind::Highlight ? highlightImport_ : inExImport_;
}

bool CFilterFileMenus::Import(FilterFileKind kind, const QString& path) {
    const std::u16string file = path.toStdU16String();
    return kind == FilterFileKind::Highlight ? app_.ImportHighlightFilterFile(file)
                                             : app_.ImportInExFilterFile(file);
}

bool CFilterFileMenus::Export(FilterFileKind kind, const QString& path) {
    const std::u16string file = path.toStdU16String();
    return kind == FilterFileKind::Highlight ? app_.ExportHighlightFilterFile(file)
                                             : app_.ExportInExFilterFile(file);
}

}  // namespace app_ui
