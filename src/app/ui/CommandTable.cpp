#include "app/ui/CommandTable.h"

#include <QWidget>

namespace app_ui {

QAction* CCommandTable::Add(Command command) {
    auto* action = new QAction(owner_);
    if (!command.shortcut.isEmpty()) action->setShortcut(command.shortcut);
    action->setText(command.text);
    action->setCheckable(static_cast<bool>(command.checked));
    action->setData(command.id);
    owner_->addAction(action);
    const int id = command.id;
    // A triggered action runs through Run, so that a stale enabled state
    // never runs a command its rule refuses.
    QObject::connect(action, &QAction::triggered, action, [this, id] { Run(id); });
    rows_[id] = Row{std::move(command), action};
    return action;
}

QAction* CCommandTable::Add(int id, const QString& text, const QKeySequence& shortcut,
                            std::function<void()> run, std::function<bool()> enabled,
                            std::function<bool()> checked) {
    Command command;
    command.id = id;
    command.text = text;
    command.shortcut = shortcut;
    command.run = std::move(run);
    command.enabled = std::move(enabled);
    command.checked = std::move(checked);
    return Add(std::move(command));
}

QAction* CCommandTable::Action(int id) const {
    const auto it = rows_.find(id);
    return it == rows_.end() ? nullptr : it->second.action;
}

bool CCommandTable::IsEnabled(int id) const {
    const auto it = rows_.find(id);
    if (it == rows_.end()) return false;
    const Command& command = it->second.command;
    return !command.enabled || command.enabled();
}

bool CCommandTable::IsChecked(int id) const {
    const auto it = rows_.find(id);
    if (it == rows_.end() || !it->second.command.checked) return false;
    return it->second.command.checked();
}

bool CCommandTable::Run(int id) {
    const auto it = rows_.find(id);
    if (it == rows_.end() || !IsEnabled(id) || !it->second.command.run) return false;
    // The handler may change what the table's rules see; copy it first.
    const std::function<void()> run = it->second.command.run;
    run();
    UpdateStates();
    return true;
}

void CCommandTable::UpdateStates() {
    for (auto& [id, row] : rows_) {
        row.action->setEnabled(IsEnabled(id));
        if (row.command.checked) row.action->setChecked(row.command.checked());
    }
}

}  // namespace app_ui
