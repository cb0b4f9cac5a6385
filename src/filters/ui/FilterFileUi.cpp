#include "filters/ui/FilterFileUi.h"

#include <QFileDialog>
#include <QFileInfo>

#include "filters/ui/ManagePresetFilesDialog.h"
#include "settings/PresetFileStore.h"
#include "settings/RegistryPaths.h"

namespace filters_ui {

namespace {

std::u16string_view PresetKey(FilterFileKind kind) {
    return kind == FilterFileKind::Highlight ? settings::reg_paths::kPresetHFFiles
                                             : settings::reg_paths::kPresetIEFFiles;
}

}  // namespace

QString ExportFilterString(FilterFileKind kind) {
    return kind == FilterFileKind::Highlight
               ? QStringLiteral("Highlight Filters File (*.ini);;All Files (*)")
               : QStringLiteral("Include/Exclude Filters File (*.ini);;All Files (*)");
}

QString ImportFilterString(FilterFileKind kind) {
    return kind == FilterFileKind::Highlight
               ? QStringLiteral("Highlight Filters File (*.ini *.hff);;All Files (*)")
               : QStringLiteral("Include/Exclude Filters File (*.ini *.ief);;All Files (*)");
}

QString AskImportFile(QWidget* parent, FilterFileKind kind) {
    return QFileDialog::getOpenFileName(parent, QObject::tr("Import Filters"), {},
                                        ImportFilterString(kind));
}

QString AskExportFile(QWidget* parent, FilterFileKind kind) {
    QFileDialog dialog(parent, QObject::tr("Export Filters"), {}, ExportFilterString(kind));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("ini"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

std::vector<std::u16string> LoadPresetFiles(FilterFileKind kind) {
    return settings::preset_files::Load(PresetKey(kind));
}

bool ManagePresetFiles(QWidget* parent, FilterFileKind kind, core::IUserInterface* ui) {
    CManagePresetFilesDialog dialog(LoadPresetFiles(kind), ImportFilterString(kind), parent, ui);
    if (dialog.exec() != QDialog::Accepted) return false;
    settings::preset_files::Save(PresetKey(kind), dialog.Paths());
    return true;
}

}  // namespace filters_ui
