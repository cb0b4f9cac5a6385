#include "filters/ui/FilterImportMenu.h"

#include <string>
#include <vector>

namespace filters_ui {

CFilterImportMenu::CFilterImportMenu(const QString& title, FilterFileKind kind, QWidget* parent)
    : QMenu(title, parent), kind_(kind) {
    addAction(tr("&From a File"), this, &CFilterImportMenu::importFileRequested);
    firstSeparator_ = addSeparator();
    secondSeparator_ = addSeparator();
    addAction(tr("&Manage..."), this, &CFilterImportMenu::manageRequested);
    connect(this, &QMenu::aboutToShow, this, &CFilterImportMenu::Rebuild);
    Rebuild();
}

void CFilterImportMenu::Rebuild() {
    const QList<QAction*> all = actions();
    for (qsizetype i = all.indexOf(firstSeparator_) + 1; i < all.indexOf(secondSeparator_); ++i) {
        removeAction(all[i]);
        all[i]->deleteLater();
    }
    const std::vector<std::u16string> presets = LoadPresetFiles(kind_);
    if (presets.empty()) {
        auto* none = new QAction(tr("No Items"), this);
        none->setEnabled(false);
        insertAction(secondSeparator_, none);
        return;
    }
    int id = kCmdFirstPresetFile;
    for (const std::u16string& preset : presets) {
        const QString path = QString::fromStdU16String(preset);
        // The path as it is: an "&" in it is shown, not taken as a mnemonic.
        auto* item =
            new QAction(QString(path).replace(QLatin1Char('&'), QStringLiteral("&&")), this);
        item->setData(id++);
        connect(item, &QAction::triggered, this,
                [this, path] { emit importPresetRequested(path); });
        insertAction(secondSeparator_, item);
    }
}

}  // namespace filters_ui
