#pragma once
// Driving a dialog as a person would: its controls by object name, buttons
// clicked, the file dialog and pop-up menu of the filter-file buttons.

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace ui_test {

template <typename Widget>
Widget* Control(const QWidget& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(QLatin1String(name));
    if (!widget) qFatal("no control %s", name);
    return widget;
}

inline void Click(const QWidget& dialog, const char* name) {
    Control<QPushButton>(dialog, name)->click();
}

inline void ClickOk(QDialog& dialog) {
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

// Clicks "E&xport" and names the file in the save dialog it opens; with
// path empty, checks that no dialog opens.
inline void ExportTo(const QWidget& dialog, const QString& path) {
    bool asked = false;
    QTimer::singleShot(0, [path, &asked] {
        auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        asked = chooser != nullptr;
        if (!chooser) return;
        chooser->selectFile(path);
        if (path.isEmpty()) {
            chooser->reject();
        } else {
            static_cast<QDialog*>(chooser)->accept();
        }
    });
    Click(dialog, "Export");
    QApplication::processEvents();
    QCOMPARE(asked, !path.isEmpty());
}

// Opens the import menu and picks the preset item with this identifier.
inline void ImportPreset(const QWidget& dialog, int id) {
    Click(dialog, "Import");
    auto* menu = Control<QMenu>(dialog, "ImportMenu");
    QVERIFY(menu->isVisible());
    for (QAction* item : menu->actions()) {
        if (item->data().toInt() == id) {
            item->trigger();
            menu->close();
            return;
        }
    }
    QFAIL("no such preset item");
}

}  // namespace ui_test
