#pragma once
// The filter-file entries of the Filters menu: an import menu and an export
// command for each filter kind. An import takes the file's filters over at
// once, as the filter dialog's OK would; the application reports failures.

#include <QObject>

class QMenu;
class QWidget;

namespace app {
class CTarvikApp;
}

namespace filters_ui {
class CFilterImportMenu;
enum class FilterFileKind;
}  // namespace filters_ui

namespace app_ui {

class CCommandTable;

class CFilterFileMenus : public QObject {
    Q_OBJECT
public:
    // Adds the entries to the end of menu; the export commands join commands.
    CFilterFileMenus(QMenu& menu, CCommandTable& commands, app::CTarvikApp& app, QWidget* window);

    filters_ui::CFilterImportMenu* ImportMenu(filters_ui::FilterFileKind kind) const;

    // Each reports its failure through the application; false then.
    bool Import(filters_ui::FilterFileKind kind, const QString& path);
    bool Export(filters_ui::FilterFileKind kind, const QString& path);

private:
    filters_ui::CFilterImportMenu* AddImportMenu(QMenu& menu, const QString& title,
                                                 filters_ui::FilterFileKind kind);

    app::CTarvikApp& app_;
    QWidget* window_;
    filters_ui::CFilterImportMenu* highlightImport_ = nullptr;
    filters_ui::CFilterImportMenu* inExImport_ = nullptr;
};

}  // namespace app_ui
