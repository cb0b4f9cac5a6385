#pragma once
// A key path as the command line and .reg files write it: a root name
// (HKCU, HKEY_CURRENT_USER, HKCR, HKEY_CLASSES_ROOT) and the path below it.

#include <optional>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace tarvik_reg {

struct KeyPath {
    platform::RegRoot root = platform::RegRoot::CurrentUser;
    std::u16string below;  // backslash separated, no empty parts; empty for the root

    // The full name with the long root name, as output shows it.
    std::string Display() const;
    KeyPath Child(std::u16string_view name) const;
};

// Nothing when the root is unknown.
std::optional<KeyPath> ParseKeyPath(std::string_view text);
std::string RootName(platform::RegRoot root);

}  // namespace tarvik_reg
