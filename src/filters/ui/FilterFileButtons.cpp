#include "filters/ui/FilterFileButtons.h"

#include <QPushButton>

#include "filters/ui/FilterImportMenu.h"
#include "view/DialogParts.h"

namespace filters_ui {

CFilterFileButtons::CFilterFileButtons(FilterFileKind kind, const QString& importText,
                                       QWidget* dialog, Handlers handlers)
    : QObject(dialog), kind_(kind), dialog_(dialog), handlers_(std::move(handlers)) {
    import_ = view::DialogButton(importText, "Import");
    export_ = view::DialogButton(tr("E&xport"), "Export");
    menu_ = new CFilterImportMenu(importText, kind, import_);
    menu_->setObjectName(QStringLiteral("ImportMenu"));

    connect(import_, &QPushButton::clicked, this,
            [this] { menu_->popup(import_->mapToGlobal(import_->rect().topRight())); });
    connect(export_, &QPushButton::clicked, this, [this] { Export(); });
    connect(menu_, &CFilterImportMenu::importFileRequested, this, [this] {
        const QString path = AskImportFile(dialog_, kind_);
        if (!path.isEmpty()) handlers_.importFile(path);
    });
    connect(menu_, &CFilterImportMenu::importPresetRequested, this,
            [this](const QString& path) { handlers_.importFile(path); });
    // The menu reads the list again each time it opens.
    connect(menu_, &CFilterImportMenu::manageRequested, this,
            [this] { ManagePresetFiles(dialog_, kind_, handlers_.ui); });
}

void CFilterFileButtons::Export() {
    if (handlers_.canExport && !handlers_.canExport()) return;
    const QString path = AskExportFile(dialog_, kind_);
    if (!path.isEmpty()) handlers_.exportFile(path);
}

}  // namespace filters_ui
