#pragma once
// How a file is named wherever it is stored, handed over or compared: its
// absolute, lexically normal path. File systems here are case-sensitive, so
// two paths name the same file only when they are equal unit for unit (or
// lead to one file: SameFile.h).

#include <string>
#include <string_view>

namespace platform {

// path made absolute against the current folder and lexically normal
// ("a/./b/../c" becomes "<cwd>/a/c", "/x//y/" becomes "/x/y"); an empty path
// stays empty.
std::u16string NormalPath(std::u16string_view path);

// The short name of what a document shows: a path's last part (the whole
// path when that is empty), and any other name, such as a journal's or a
// command's, whole, since slashes inside it are no folders.
std::u16string_view ShortName(std::u16string_view name);

}  // namespace platform
