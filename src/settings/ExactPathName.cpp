#include "settings/ExactPathName.h"

#include <cstdint>

namespace settings {

namespace {

// FNV-1a over the UTF-16 units: any change of case changes it.
std::uint64_t HashOfUnits(std::u16string_view text) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char16_t unit : text) {
        hash ^= unit;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

}  // namespace

std::u16string ExactPathName(std::u16string_view path) {
    if (path.empty()) return {};
    constexpr char16_t kDigits[] = u"0123456789abcdef";
    std::u16string name(path);
    name += u'|';
    const std::uint64_t hash = HashOfUnits(path);
    for (int shift = 60; shift >= 0; shift -= 4) name += kDigits[(hash >> shift) & 0xF];
    return name;
}

bool HasBarePathValue(const platform::RegKey& key, std::u16string_view path) {
    if (path.empty()) return false;
    platform::DWORD size = 0;
    if (key.QueryValue(path, nullptr, nullptr, &size) != platform::ERROR_SUCCESS) return false;
    std::u16string name;
    for (platform::DWORD i = 0; key.EnumValue(i, name) == platform::ERROR_SUCCESS; ++i) {
        if (name == path) return true;
    }
    return false;
}

}  // namespace settings
