#pragma once
// The value name a file's own setting is kept under. The store compares value
// names without case, while file names here differ by case: the name is the
// path followed by a hash of its exact units, so "/log/A" and "/log/a" keep
// two values and the path stays readable.

#include <string>
#include <string_view>

namespace settings {

// "" for an empty path (no file has one).
std::u16string ExactPathName(std::u16string_view path);

}  // namespace settings
