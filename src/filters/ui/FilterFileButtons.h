#pragma once
// The file buttons of a filter dialog: the import menu button, whose menu
// pops up at the button's top right corner, and "E&xport". The buttons only
// ask for files; what an import or export does to the rows is the dialog's.

#include <QObject>
#include <QString>

#include <functional>

#include "core/IUserInterface.h"
#include "filters/ui/FilterFileUi.h"

class QPushButton;
class QWidget;

namespace filters_ui {

class CFilterImportMenu;

class CFilterFileButtons : public QObject {
    Q_OBJECT
public:
    struct Handlers {
        // Imports the file with this path into the dialog's rows.
        std::function<void(const QString& path)> importFile;
        // Whether there is anything to export; false skips the file dialog.
        std::function<bool()> canExport;
        // Writes the dialog's rows to the file with this path.
        std::function<void(const QString& path)> exportFile;
        // Speaks for the preset manager; none shows boxes over the dialog.
        core::IUserInterface* ui = nullptr;
    };

    CFilterFileButtons(FilterFileKind kind, const QString& importText, QWidget* dialog,
                       Handlers handlers);

    QPushButton* ImportButton() const { return import_; }
    QPushButton* ExportButton() const { return export_; }
    CFilterImportMenu* ImportMenu() const { return menu_; }

private:
    void Export();

    FilterFileKind kind_;
    QWidget* dialog_;
    Handlers handlers_;
    QPushButton* import_ = nullptr;
    QPushButton* export_ = nullptr;
    CFilterImportMenu* menu_ = nullptr;
};

}  // namespace filters_ui
