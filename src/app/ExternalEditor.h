#pragma once
// Opening a document's file in an external editor: the editor chosen by the
// file's extension, the checks of the editor dialogs, and taking over what
// the "Set Default Editor" dialog confirmed.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/IUserInterface.h"
#include "settings/FileExtEditorStore.h"

namespace app {

class CTarvikApp;

inline constexpr std::u16string_view kDefaultEditorRequired =
    u"Please enter a default editor or set it to default value by clicking Default.";
inline constexpr std::u16string_view kEditorEntryIncomplete =
    u"All input-boxes are required, please fill them.";
inline constexpr std::u16string_view kEditorEntryNeedsDot =
    u"File extension must begin with dot, e.g. .txt, .xml, .log.";

// The extension of the file named by path: from the last dot of the file
// name, dot included; empty when the name has no dot.
std::u16string_view FileExtensionOf(std::u16string_view path);

// The editor for path: the first entry whose extension equals the file's
// (A-Z folded), else the default editor.
std::u16string EditorFor(std::u16string_view path, std::u16string_view defaultEditor,
                         const std::vector<settings::FileExtEditor>& editors);

// Starts the editor with path as its argument, under the wait cursor. An
// editor that does not exist is reported ("File "%s" does not exist.");
// other failures are silent.
void OpenWithEditor(std::u16string_view path, std::u16string_view defaultEditor,
                    const std::vector<settings::FileExtEditor>& editors, core::IUserInterface* ui);

// The "Editor for File Extension" dialog's OK: the first refusal in the
// dialog's order, nothing when the entry is accepted. The extension must be
// new among rows only when adding.
std::optional<std::u16string> CheckEditorEntry(const settings::FileExtEditor& entry, bool adding,
                                               const std::vector<settings::FileExtEditor>& rows);

// The "Set Default Editor" dialog's OK once its check passed: takes the
// default editor and the rows, saves the default-editor group and rewrites
// the whole per-extension list.
void ApplyDefaultEditorDialog(CTarvikApp& app, std::u16string defaultEditor,
                              std::vector<settings::FileExtEditor> rows);

}  // namespace app
