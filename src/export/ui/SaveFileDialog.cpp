#include "export/ui/SaveFileDialog.h"

#include <QFileDialog>

namespace exporting_ui {

namespace {

// The text each kind shows, and the patterns it lists.
const QString kWebPage =
    QStringLiteral("Web Page with Highlight Color (*.htm;*.html) (*.htm *.html)");
const QString kPlainText = QStringLiteral("Plain-Text File (*.txt;*.log) (*.txt *.log)");

}  // namespace

void SetUpSaveFileDialog(QFileDialog& dialog) {
    dialog.setWindowTitle(QObject::tr("Save As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters({kWebPage, kPlainText});
    dialog.selectNameFilter(kWebPage);
    dialog.setDefaultSuffix(QStringLiteral("htm"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) {
                         dialog.setDefaultSuffix(filter == kPlainText ? QStringLiteral("txt")
                                                                      : QStringLiteral("htm"));
                     });
    dialog.selectFile(QString());
}

QString AskSaveFileName(QWidget* parent) {
    QFileDialog dialog(parent);
    SetUpSaveFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace exporting_ui
