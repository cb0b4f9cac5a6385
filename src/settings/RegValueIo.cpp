#include "settings/RegValueIo.h"

#include <array>
#include <vector>

#include "settings/LittleEndian.h"

namespace settings {

using platform::DWORD;
using platform::ERROR_SUCCESS;

namespace {

bool IsTextType(DWORD type) {
    return type == platform::REG_SZ || type == platform::REG_EXPAND_SZ;
}

}  // namespace

bool ReadDword(const platform::RegKey& key, std::u16string_view name, std::uint32_t& value) {
    std::array<std::uint8_t, 4> bytes{};
    DWORD type = platform::REG_NONE;
    DWORD size = bytes.size();
    if (key.QueryValue(name, &type, bytes.data(), &size) != ERROR_SUCCESS) return false;
    if (size != bytes.size() || IsTextType(type)) return false;
    value = little_endian::GetUint32(bytes.data());
    return true;
}

bool ReadInt(const platform::RegKey& key, std::u16string_view name, std::int32_t& value) {
    std::uint32_t raw = 0;
    if (!ReadDword(key, name, raw)) return false;
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool ReadFlag(const platform::RegKey& key, std::u16string_view name, bool& value) {
    std::uint32_t raw = 0;
    if (!ReadDword(key, name, raw)) return false;
    value = raw != 0;
    return true;
}

std::u16string TextFromBytes(std::span<const std::uint8_t> bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t ch = little_endian::GetUint16(&bytes[i]);
        if (ch == u'\0') break;
        text.push_back(ch);
    }
    return text;
}

bool ReadText(const platform::RegKey& key, std::u16string_view name, std::u16string& value) {
    std::vector<std::uint8_t> bytes;
    if (key.QueryBinary(name, bytes) != ERROR_SUCCESS) return false;
    value = TextFromBytes(bytes);
    return true;
}

bool ReadTextCut(const platform::RegKey& key, std::u16string_view name, std::u16string& value,
                 std::size_t maxChars) {
    if (!ReadText(key, name, value)) return false;
    if (value.size() > maxChars) value.resize(maxChars);
    return true;
}

void WriteDword(platform::RegKey& key, std::u16string_view name, std::uint32_t value) {
    key.SetDWORD(name, value);
}

void WriteInt(platform::RegKey& key, std::u16string_view name, std::int32_t value) {
    key.SetDWORD(name, static_cast<std::uint32_t>(value));
}

void WriteFlag(platform::RegKey& key, std::u16string_view name, bool value) {
    key.SetDWORD(name, value ? 1 : 0);
}

void WriteText(platform::RegKey& key, std::u16string_view name, std::u16string_view value) {
    key.SetString(name, value);
}

bool RecreateUserKey(std::u16string_view path, platform::RegKey& key) {
    using platform::ERROR_SUCCESS;
    using platform::RegRoot;
    const std::size_t cut = path.rfind(u'\\');
    platform::RegKey parent;
    if (parent.Create(RegRoot::CurrentUser, path.substr(0, cut)) != ERROR_SUCCESS) return false;
    parent.DeleteTree(path.substr(cut + 1));
    return key.Create(RegRoot::CurrentUser, path) == ERROR_SUCCESS;
}

std::u16string NumberedName(std::u16string_view prefix, int number) {
    std::u16string name(prefix);
    for (char ch : std::to_string(number)) name.push_back(static_cast<char16_t>(ch));
    return name;
}

}  // namespace settings
