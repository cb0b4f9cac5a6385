#include "view/DialogParts.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

namespace view {

QPushButton* DialogButton(const QString& text, const char* name) {
    auto* button = new QPushButton(text);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

void AllowAnyLength(QLineEdit* edit) {
    edit->setMaxLength(std::numeric_limits<int>::max());
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
