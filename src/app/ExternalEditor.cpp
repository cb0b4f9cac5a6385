#include "app/ExternalEditor.h"

#include "app/TarvikApp.h"
#include "core/WaitCursor.h"
#include "filters/AsciiFold.h"
#include "platform/Shell.h"
#include "settings/OptionsStore.h"

namespace app {

namespace {

bool SameExtension(std::u16string_view a, std::u16string_view b) {
    return filters::FoldedAsciiLower(a) == filters::FoldedAsciiLower(b);
}

}  // namespace

std::u16string_view FileExtensionOf(std::u16string_view path) {
    const std::size_t slash = path.find_last_of(u'/');
    const std::size_t nameStart = slash == std::u16string_view::npos ? 0 : slash + 1;
    const std::size_t dot = path.find_last_of(u'.');
    if (dot == std::u16string_view::npos || dot < nameStart) return {};
    return path.substr(dot);
}

std::u16string EditorFor(std::u16string_view path, std::u16string_view defaultEditor,
                         const std::vector<settings::FileExtEditor>& editors) {
    const std::u16string_view extension = FileExtensionOf(path);
    if (!extension.empty()) {
        for (const settings::FileExtEditor& editor : editors) {
            if (SameExtension(editor.extension, extension)) return editor.command;
        }
    }
    return std::u16string(defaultEditor);
}

void OpenWithEditor(std::u16string_view path, std::u16string_view defaultEditor,
                    const std::vector<settings::FileExtEditor>& editors, core::IUserInterface* ui) {
    core::CWaitCursor wait(ui);
    const std::u16string editor = EditorFor(path, defaultEditor, editors);
    if (platform::ShellOpen(editor, path) == platform::StartResult::NotFound && ui) {
        ui->ShowMessage(u"File \"" + editor + u"\" does not exist.",
                        core::MessageIcon::Exclamation);
    }
}

std::optional<std::u16string> CheckEditorEntry(const settings::FileExtEditor& entry, bool adding,
                                               const std::vector<settings::FileExtEditor>& rows) {
    if (entry.extension.empty() || entry.command.empty()) {
        return std::u16string(kEditorEntryIncomplete);
    }
    if (entry.extension.front() != u'.') return std::u16string(kEditorEntryNeedsDot);
    if (adding) {
        for (const settings::FileExtEditor& row : rows) {
            if (SameExtension(row.extension, entry.extension)) {
                return u"File extension \"" + entry.extension + u"\" is already available.";
            }
        }
    }
    return std::nullopt;
}

void ApplyDefaultEditorDialog(CTarvikApp& app, std::u16string defaultEditor,
                              std::vector<settings::FileExtEditor> rows) {
    app.GetOptions().DefaultEditor = std::move(defaultEditor);
    app.SetFileExtEditors(std::move(rows));
    app.SaveOptions(settings::option_group::kDefaultEditor, false, nullptr);
    app.SaveFileExtEditors();
}

}  // namespace app
