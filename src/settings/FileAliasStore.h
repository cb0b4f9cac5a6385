#pragma once
// The tab alias of a file, kept by the file's full path with its case. An
// alias an earlier version kept under the bare path is read until a new one
// is saved, which deletes it.

#include <string>
#include <string_view>

namespace settings {

class FileAliasStore {
public:
    // False when the file has no alias (nothing stored, or an empty text).
    static bool Load(std::u16string_view path, std::u16string& alias);
    static bool Save(std::u16string_view path, std::u16string_view alias);
};

}  // namespace settings
