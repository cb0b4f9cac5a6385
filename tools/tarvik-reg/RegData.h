#pragma once
// Value types and data as text: type names, the data column of query
// output, and the data given on the command line.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace tarvik_reg {

using Bytes = std::vector<std::uint8_t>;

struct Value {
    platform::DWORD type = platform::REG_SZ;
    Bytes data;
};

std::string TypeName(platform::DWORD type);
// Only the types that can be given with /t.
std::optional<platform::DWORD> ParseTypeName(std::string_view name);

// The data column of query output.
std::string DisplayData(const Value& value);

// Data given with /d (UTF-8 text, decimal or 0x hex DWORD, hex digits for
// binary); nothing when it does not fit the type.
std::optional<Bytes> ParseData(platform::DWORD type, std::string_view text);

// A REG_SZ as UTF-16LE with its terminator.
Bytes StringBytes(std::string_view utf8);
// The text of a REG_SZ when it converts exactly (even size, one trailing
// terminator, no other zero, well-formed UTF-16); nothing otherwise.
std::optional<std::string> ExactText(const Bytes& data);

std::optional<std::uint32_t> ParseHexNumber(std::string_view text, std::size_t maxDigits);
int HexDigit(char c);

}  // namespace tarvik_reg
