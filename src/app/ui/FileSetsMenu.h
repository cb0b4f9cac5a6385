#pragma once
// The File menu's "File &Sets" submenu: "&Manage..." and a separator, then
// one item per stored set with command ids from 9000, rebuilt from the
// settings store after the sets change.

#include <QObject>
#include <QString>
#include <QStringList>

class QMenu;

namespace app_ui {

class CFileSetsMenu : public QObject {
    Q_OBJECT
public:
    explicit CFileSetsMenu(QMenu* parentMenu, QObject* parent = nullptr);

    QMenu* Menu() const { return menu_; }
    // Keeps the first two items and appends the stored sets again.
    void Rebuild();
    // The set names the menu shows, in order.
    QStringList SetNames() const;
    // Runs the item of command id (9000 and on); false when there is none.
    bool Trigger(int commandId);

signals:
    void manageRequested();
    void openRequested(const QString& name);

private:
    QMenu* menu_;
};

}  // namespace app_ui
