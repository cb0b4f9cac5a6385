#pragma once
// One table of the main window's commands: each row names the command by
// its identifier, gives its menu text with the mnemonic '&', its shortcut,
// what it does and when it is enabled or checked. The table builds the
// QActions that menus and the toolbar share, and refreshes their states.

#include <QAction>
#include <QKeySequence>
#include <QString>
#include <functional>
#include <map>

class QWidget;

namespace app_ui {

struct Command {
    int id = 0;
    QString text;
    QKeySequence shortcut;
    std::function<void()> run;
    // Empty: always enabled.
    std::function<bool()> enabled;
    // Empty: the command carries no check mark.
    std::function<bool()> checked;
};

class CCommandTable {
public:
    // The actions are children of owner and take part in its shortcuts.
    explicit CCommandTable(QWidget* owner) : owner_(owner) {}

    QAction* Add(Command command);
    QAction* Add(int id, const QString& text, const QKeySequence& shortcut,
                 std::function<void()> run, std::function<bool()> enabled = {},
                 std::function<bool()> checked = {});
    // Null for an unknown identifier.
    QAction* Action(int id) const;

    bool IsEnabled(int id) const;
    bool IsChecked(int id) const;
    // Runs the command when it is enabled; false otherwise.
    bool Run(int id);
    // Takes every action's enabled and checked state from its rules.
    void UpdateStates();

private:
    struct Row {
        Command command;
        QAction* action = nullptr;
    };

    QWidget* owner_;
    std::map<int, Row> rows_;
};

}  // namespace app_ui
