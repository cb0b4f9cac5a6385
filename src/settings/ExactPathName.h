#pragma once
// The value name a file's own setting is kept under. The store compares value
// names without case, while file names here differ by case: the name is the
// path followed by a hash of its exact units, so "/log/A" and "/log/a" keep
// two values and the path stays readable.

#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace settings {

// "" for an empty path (no file has one).
std::u16string ExactPathName(std::u16string_view path);

// Earlier versions named the value by the bare path. True when key holds
// such a value for exactly this path: the store finds names without regard
// to case, so a value stored for another case of the path does not count.
bool HasBarePathValue(const platform::RegKey& key, std::u16string_view path);

}  // namespace settings
