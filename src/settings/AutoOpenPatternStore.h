#pragma once
// The folders and file-name patterns watched for new files: subkey
// AOFPatterns, values "Folder1"/"File1", "Folder2"/"File2", ... in list order.

#include <string>
#include <vector>

namespace settings {

struct AutoOpenPattern {
    std::u16string folder;  // ends with the folder separator
    std::u16string fileNamePattern;

    bool operator==(const AutoOpenPattern&) const = default;
};

class AutoOpenPatternStore {
public:
    // Longest value read, in bytes with the terminator.
    static constexpr unsigned kMaxValueBytes = 1040;

    // Pairs in order, up to the first folder value that is missing, too long
    // or empty, or the first file value that is missing, too long or empty.
    static std::vector<AutoOpenPattern> Load();
    // Replaces the whole list, so that no stale pair survives.
    static bool Save(const std::vector<AutoOpenPattern>& patterns);
};

}  // namespace settings
