#pragma once
// Writes a key and everything below it as .reg text (UTF-8). Values that
// cannot be shown as text or as a dword are written as hex(N): lists, so that
// reading the file back gives every value's type and bytes exactly.

#include <string>
#include <string_view>

#include "RegData.h"
#include "RegKeyPath.h"

namespace tarvik_reg {

// One value as its line of .reg text, line end included; the name is empty
// for the default value.
std::string ValueLine(std::u16string_view name, platform::DWORD type, const Bytes& data);

// Appends the text of the tree at path to out (header included).
platform::LSTATUS ExportTree(const KeyPath& path, std::string& out);

}  // namespace tarvik_reg
