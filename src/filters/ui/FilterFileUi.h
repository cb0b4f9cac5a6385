#pragma once
// What the filter-file commands of both filter kinds share on screen: the
// file dialogs with their filter strings, the preset list of each kind, and
// the command identifiers of preset items.

#include <QString>
#include <string>
#include <vector>

class QWidget;

namespace core {
class IUserInterface;
}

namespace filters_ui {

enum class FilterFileKind { Highlight, InEx };

// Preset items of an import menu: 8000 for the first preset, upward in order.
inline constexpr int kCmdFirstPresetFile = 8000;

// "Highlight Filters File (*.ini;*.hff)" or "Include/Exclude Filters File
// (*.ini;*.ief)", then "All Files (*)": every file, those without a dot too.
QString ImportFilterString(FilterFileKind kind);
// The same for export, offering "*.ini" first.
QString ExportFilterString(FilterFileKind kind);

// An existing file to import; empty when cancelled.
QString AskImportFile(QWidget* parent, FilterFileKind kind);
// A file to export to, ".ini" added when the name has no extension, with
// confirmation before replacing a file; empty when cancelled.
QString AskExportFile(QWidget* parent, FilterFileKind kind);

// The kind's preset files from the store (PresetHFFiles or PresetIEFFiles).
std::vector<std::u16string> LoadPresetFiles(FilterFileKind kind);
// Opens "Manage Preset Filter Files" on the kind's list; OK saves the new
// list. True when it was saved, so import menus should be rebuilt.
bool ManagePresetFiles(QWidget* parent, FilterFileKind kind, core::IUserInterface* ui = nullptr);

}  // namespace filters_ui
