#pragma once
// Typed reading and writing of single values on an open key. A value that is
// missing or cannot be read leaves the caller's field untouched, so defaults
// stand; write failures are silent, as every registry error is.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace settings {

// A number is exactly 4 bytes. Text values are never taken as numbers, even
// when their bytes happen to count 4.
bool ReadDword(const platform::RegKey& key, std::u16string_view name, std::uint32_t& value);
bool ReadInt(const platform::RegKey& key, std::u16string_view name, std::int32_t& value);
bool ReadFlag(const platform::RegKey& key, std::u16string_view name, bool& value);

// Reads a text of any length; it ends at its first zero.
bool ReadText(const platform::RegKey& key, std::u16string_view name, std::u16string& value);
// The same, keeping at most maxChars characters.
bool ReadTextCut(const platform::RegKey& key, std::u16string_view name, std::u16string& value,
                 std::size_t maxChars);

// The UTF-16LE text in raw value bytes, up to its first zero.
std::u16string TextFromBytes(std::span<const std::uint8_t> bytes);

void WriteDword(platform::RegKey& key, std::u16string_view name, std::uint32_t value);
void WriteInt(platform::RegKey& key, std::u16string_view name, std::int32_t value);
void WriteFlag(platform::RegKey& key, std::u16string_view name, bool value);
void WriteText(platform::RegKey& key, std::u16string_view name, std::u16string_view value);

// Deletes the key at path under the current user's root with everything below
// it and creates it anew, empty, open in key. False when it cannot be created.
bool RecreateUserKey(std::u16string_view path, platform::RegKey& key);

// "File%d" and similar numbered value names.
std::u16string NumberedName(std::u16string_view prefix, int number);

}  // namespace settings
