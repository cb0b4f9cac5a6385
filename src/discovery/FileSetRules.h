#pragma once
// What the file-set commands decide without any window: the message of a set
// that cannot be opened, the check of the sets edited in "Manage File Sets",
// and adding chosen files to a set.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/FileSetStore.h"

namespace discovery {

// Command ids of the sets in the File Sets menu, in enumeration order.
inline constexpr int kFirstFileSetCommand = 9000;
inline constexpr int kLastFileSetCommand = 9299;

// "File set \"<name>\" is undefined or there aren't files in the set."
std::u16string UndefinedFileSetMessage(std::u16string_view name);

struct FileSetProblem {
    std::size_t index = 0;  // the set to select
    std::u16string message;

    bool operator==(const FileSetProblem&) const = default;
};

// The first problem of the sets in list order: an empty name, a name with a
// backslash, or a name equal (without regard to case, A-Z) to a later one.
std::optional<FileSetProblem> FirstFileSetProblem(const std::vector<settings::FileSet>& sets);

// Appends each chosen path the set does not hold yet (exact comparison).
// Returns the number appended.
std::size_t AddFileSetMembers(settings::FileSet& set, const std::vector<std::u16string>& chosen);

}  // namespace discovery
