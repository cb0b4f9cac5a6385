#include "filters/ui/ColorChoice.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

#include "view/ColorRef.h"

namespace filters_ui {

bool ChooseColor(QWidget* parent, const QString& title, std::uint32_t& color) {
    QColorDialog dialog(view::ToQColor(color), parent);
    dialog.setObjectName(QStringLiteral("ColorDialog"));
    dialog.setWindowTitle(title);
    // The same dialog on every desktop, and one that tests can drive.
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) return false;
    color = view::ToColorRef(dialog.currentColor());
    return true;
}

QIcon ColorSwatch(std::uint32_t color) {
    QPixmap swatch(14, 14);
    swatch.fill(view::ToQColor(color));
    QPainter painter(&swatch);
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, 13, 13);
    return QIcon(swatch);
}

}  // namespace filters_ui
