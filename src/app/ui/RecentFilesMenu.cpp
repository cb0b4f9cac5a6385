#include "app/ui/RecentFilesMenu.h"

#include <QAction>
#include <QDir>
#include <QMenu>

namespace app_ui {

namespace {

const char* const kPlaceholder = "Recent File";

}  // namespace

CRecentFilesMenu::CRecentFilesMenu(QMenu* menu, QAction* before, QObject* parent)
    : QObject(parent), menu_(menu), before_(before) {
    list_.Load();
    connect(menu_, &QMenu::aboutToShow, this, &CRecentFilesMenu::Rebuild);
    Rebuild();
}

void CRecentFilesMenu::Rebuild() {
    for (QAction* action : entries_) {
        menu_->removeAction(action);
        action->deleteLater();
    }
    entries_.clear();
    const std::vector<std::u16string> texts = list_.MenuTexts(QDir::currentPath().toStdU16String());
    if (texts.empty()) {
        auto* placeholder = new QAction(tr(kPlaceholder), menu_);
        placeholder->setEnabled(false);
        entries_.push_back(placeholder);
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        auto* action = new QAction(QString::fromStdU16String(texts[i]), menu_);
        const QString path = QString::fromStdU16String(list_.Entries()[i]);
        connect(action, &QAction::triggered, this, [this, path] { emit openRequested(path); });
        entries_.push_back(action);
    }
    for (QAction* action : entries_) menu_->insertAction(before_, action);
}

QStringList CRecentFilesMenu::Texts() const {
    QStringList texts;
    for (const QAction* action : entries_) texts.push_back(action->text());
    return texts;
}

}  // namespace app_ui
