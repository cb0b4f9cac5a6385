#pragma once
// The one table of the log view's commands: menu text with its mnemonic and
// shortcut. The view builds its actions from it and the main frame's menus
// show the same texts and keys.

#include <QKeySequence>
#include <QString>
#include <vector>

namespace view {

struct ViewCommand {
    int id = 0;
    QString text;
    QKeySequence shortcut;
    // A second key for the same command, as desktop programs commonly use
    // it; never one another command has.
    QKeySequence alternate = {};
};

// Every command the view handles from a menu or a key, in menu order.
const std::vector<ViewCommand>& ViewCommands();
// The row of a command; null for one the view does not handle.
const ViewCommand* FindViewCommand(int id);

}  // namespace view
