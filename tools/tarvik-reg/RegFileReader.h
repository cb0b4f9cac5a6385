#pragma once
// Reads .reg text (UTF-8, or UTF-16LE with a byte-order mark) into a list of
// changes. The whole file is read before anything is applied, so a mistake
// on any line leaves the store as it was.

#include <string>
#include <vector>

#include "RegData.h"
#include "RegKeyPath.h"

namespace tarvik_reg {

struct RegChange {
    enum class Kind { OpenKey, DeleteKey, SetValue, DeleteValue };
    Kind kind = Kind::OpenKey;
    KeyPath key;
    std::u16string name;  // value name; empty for the default value
    Value value;
};

// False with error naming the line ("line 7: ...") when the text is malformed.
bool ParseRegFile(const std::string& bytes, std::vector<RegChange>& changes, std::string& error);

}  // namespace tarvik_reg
