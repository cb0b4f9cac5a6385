#pragma once
// The recent files in the File menu: the first entries of the list, numbered
// for the keyboard, rebuilt whenever the menu opens. Choosing one asks the
// owner to open it; the owner removes an entry that fails.

#include <QObject>
#include <QString>
#include <string>
#include <vector>

#include "discovery/RecentFileList.h"

class QAction;
class QMenu;

namespace app_ui {

class CRecentFilesMenu : public QObject {
    Q_OBJECT
public:
    // The entries go into menu just before the action before (the end when null).
    CRecentFilesMenu(QMenu* menu, QAction* before, QObject* parent = nullptr);

    discovery::CRecentFileList& List() { return list_; }
    const discovery::CRecentFileList& List() const { return list_; }

    // The texts the menu shows now, in order; the placeholder alone when the
    // list is empty.
    QStringList Texts() const;
    // Refills the menu from the list.
    void Rebuild();

signals:
    void openRequested(const QString& path);

private:
    QMenu* menu_;
    QAction* before_;
    std::vector<QAction*> entries_;
    discovery::CRecentFileList list_;
};

}  // namespace app_ui
