#include "platform/NormalPath.h"

#include <filesystem>
#include <system_error>

#include "platform/CodePage.h"

namespace platform {

std::u16string NormalPath(std::u16string_view path) {
    if (path.empty()) return {};
    const std::filesystem::path given(Utf16ToUtf8(path));
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(given, error);
    if (error) full = given;
    std::string normal = full.lexically_normal().string();
    // "/var/log/" and "/var/log" name one folder; the root keeps its slash.
    while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
    return Utf8ToUtf16(normal);
}

std::u16string_view ShortName(std::u16string_view name) {
    if (!name.starts_with(u'/')) return name;
    const std::size_t slash = name.find_last_of(u'/');
    return slash + 1 == name.size() ? name : name.substr(slash + 1);
}

}  // namespace platform
