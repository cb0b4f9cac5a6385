#pragma once
// The main window's menu bar: every command of the table in the menus a user
// expects (File, Edit, View, Monitor, Filters, Tools, Window, Help).

class QMenu;
class QMenuBar;

namespace app_ui {

class CCommandTable;

// Fills bar from commands; returns the File menu, whose last item is Exit.
QMenu* BuildMainMenus(QMenuBar& bar, CCommandTable& commands);

}  // namespace app_ui
