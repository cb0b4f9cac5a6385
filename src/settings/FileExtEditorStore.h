#pragma once
// The editor chosen for each file extension: one text value per extension,
// named by the extension with its dot, holding the editor command.

#include <string>
#include <vector>

namespace settings {

struct FileExtEditor {
    std::u16string extension;  // with its leading dot
    std::u16string command;

    bool operator==(const FileExtEditor&) const = default;
};

class FileExtEditorStore {
public:
    // Longest extension and command the editor dialogs accept.
    static constexpr std::size_t kMaxExtensionChars = 127;
    static constexpr std::size_t kMaxCommandChars = 519;

    // Entries with an empty extension or command are skipped, and so are the
    // ones too long to be read, rather than cut to another command.
    static std::vector<FileExtEditor> Load();
    // Replaces the whole list.
    static bool Save(const std::vector<FileExtEditor>& editors);
};

}  // namespace settings
