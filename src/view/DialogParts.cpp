#include "view/DialogParts.h"

#include <QFileDialog>
#include <QPushButton>

namespace view {

QPushButton* DialogButton(const QString& text, const char* name) {
    auto* button = new QPushButton(text);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

std::vector<std::u16string> ChooseFilesToOpen(QWidget* parent) {
    std::vector<std::u16string> paths;
    for (const QString& name : QFileDialog::getOpenFileNames(parent, QObject::tr("Open"), {},
                                                             QObject::tr("All Files (*)"))) {
        paths.push_back(name.toStdU16String());
    }
    return paths;
}

}  // namespace view
