#include "view/PlainMessageBox.h"

namespace view {

QString MessageBoxCaption() {
    return QStringLiteral("Ostra Tarvik (Unicode)");
}

void UsePlainText(QMessageBox& box) {
    box.setTextFormat(Qt::PlainText);
}

void ShowPlainMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                      const QString& caption) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    UsePlainText(box);
    box.exec();
}

}  // namespace view
