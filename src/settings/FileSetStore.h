#pragma once
// Named file sets: one subkey per set, its member paths in values "File1",
// "File2", ... in order.

#include <string>
#include <string_view>
#include <vector>

namespace settings {

struct FileSet {
    std::u16string name;
    std::vector<std::u16string> paths;

    bool operator==(const FileSet&) const = default;
};

class FileSetStore {
public:
    // Longest set name and member path the store hands out (the reading
    // buffers of 1024 characters and 2048 bytes, less their terminators).
    static constexpr std::size_t kMaxNameChars = 1023;
    static constexpr std::size_t kMaxPathChars = 1023;

    // A name becomes a key name: it must be non-empty, fit, and hold no backslash.
    static bool IsValidName(std::u16string_view name);

    // Set names in enumeration order; names too long to read are passed over.
    static std::vector<std::u16string> EnumNames();
    // Member paths from "File1" on, up to the first missing number; empty
    // values and paths too long to read are skipped.
    static std::vector<std::u16string> Load(std::u16string_view name);
    // Replaces every stored set by these. A set with an invalid name is not
    // written and makes the result false; the others are written all the same.
    static bool SaveAll(const std::vector<FileSet>& sets);
};

}  // namespace settings
