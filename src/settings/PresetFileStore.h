#pragma once
// The preset filter files of the two filter dialogs: under PresetHFFiles
// (highlight) and PresetIEFFiles (include/exclude), one full path per value
// "File1", "File2", ... in list order.

#include <string>
#include <string_view>
#include <vector>

namespace settings::preset_files {

// Longest path read back: a 2048-byte buffer less its terminator.
inline constexpr std::size_t kMaxPathChars = 1023;

// Whether the store can give the path back: a longer one would end the list
// when it is read, hiding every later preset.
inline bool FitsPresetList(std::u16string_view path) {
    return path.size() <= kMaxPathChars;
}

// The paths from "File1" on, up to the first value that is missing or too
// long to read; empty values are skipped. A missing key gives an empty list.
std::vector<std::u16string> Load(std::u16string_view keyPath);

// Deletes the key and writes the list anew, in one transaction. Empty
// paths are not written (the list would end there when read back). False
// when the store refused.
bool Save(std::u16string_view keyPath, const std::vector<std::u16string>& paths);

}  // namespace settings::preset_files
