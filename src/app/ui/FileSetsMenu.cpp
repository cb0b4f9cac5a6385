#include "app/ui/FileSetsMenu.h"

#include <QAction>
#include <QMenu>

#include "discovery/FileSetRules.h"
#include "settings/FileSetStore.h"

namespace app_ui {

namespace {

constexpr int kFixedItems = 2;  // "&Manage..." and the separator

}  // namespace

CFileSetsMenu::CFileSetsMenu(QMenu* parentMenu, QObject* parent)
    : QObject(parent), menu_(new QMenu(tr("File &Sets"), parentMenu)) {
    QAction* manage = menu_->addAction(tr("&Manage..."));
    connect(manage, &QAction::triggered, this, &CFileSetsMenu::manageRequested);
    menu_->addSeparator();
    Rebuild();
}

void CFileSetsMenu::Rebuild() {
    const QList<QAction*> actions = menu_->actions();
    for (int i = kFixedItems; i < actions.size(); ++i) {
        menu_->removeAction(actions[i]);
        actions[i]->deleteLater();
    }
    int id = discovery::kFirstFileSetCommand;
    for (const std::u16string& name : settings::FileSetStore::EnumNames()) {
        if (id > discovery::kLastFileSetCommand) break;
        // Names may hold '&', which the menu must show as it is.
        QString text = QString::fromStdU16String(name);
        QAction* action = menu_->addAction(QString(text).replace('&', QStringLiteral("&&")));
        if (id < discovery::kFirstFileSetCommand + 10) {
            action->setStatusTip(tr("Opens all documents in the set"));
        }
        action->setData(id++);
        connect(action, &QAction::triggered, this, [this, text] {
            if (!text.isEmpty()) emit openRequested(text);
        });
    }
}

QStringList CFileSetsMenu::SetNames() const {
    QStringList names;
    const QList<QAction*> actions = menu_->actions();
    for (int i = kFixedItems; i < actions.size(); ++i) {
        names << QString(actions[i]->text()).replace(QStringLiteral("&&"), QStringLiteral("&"));
    }
    return names;
}

bool CFileSetsMenu::Trigger(int commandId) {
    for (QAction* action : menu_->actions()) {
        if (action->data().isValid() && action->data().toInt() == commandId) {
            action->trigger();
            return true;
        }
    }
    return false;
}

}  // namespace app_ui
