#include "platform/RegistryNames.h"

#include "platform/CodePage.h"

namespace platform::registry_names {

namespace {

bool InRange(char16_t c, char16_t first, char16_t last) {
    return c >= first && c <= last;
}

// Simple lower-case mapping of the scripts most likely to appear in file and
// folder names; everything else compares exactly.
char16_t FoldUnit(char16_t c) {
    if (InRange(c, u'A', u'Z')) return c + 0x20;
    if (c < 0xC0) return c;
    if (InRange(c, 0xC0, 0xDE) && c != 0xD7) return c + 0x20;
    if (InRange(c, 0x100, 0x137) || InRange(c, 0x14A, 0x177)) return c | 1;
    if (InRange(c, 0x139, 0x148) || InRange(c, 0x179, 0x17E)) return (c & 1) ? c + 1 : c;
    if (c == 0x178) return 0xFF;
    if (InRange(c, 0x391, 0x3AB) && c != 0x3A2) return c + 0x20;
    if (InRange(c, 0x410, 0x42F)) return c + 0x20;
    if (InRange(c, 0x400, 0x40F)) return c + 0x50;
    return c;
}

}  // namespace

std::u16string_view UpToTerminator(std::u16string_view name) {
    const auto zero = name.find(u'\0');
    return zero == std::u16string_view::npos ? name : name.substr(0, zero);
}

std::string Fold(std::u16string_view name) {
    std::u16string folded(UpToTerminator(name));
    for (char16_t& c : folded) c = FoldUnit(c);
    return Utf16ToUtf8(folded);
}

bool SplitPath(std::u16string_view path, std::vector<std::u16string>& parts) {
    parts.clear();
    path = UpToTerminator(path);
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(u'\\', start);
        if (end == std::u16string_view::npos) end = path.size();
        const std::u16string_view part = path.substr(start, end - start);
        if (part.size() > kMaxKeyNameLength) return false;
        if (!part.empty()) parts.emplace_back(part);
        start = end + 1;
    }
    return true;
}

}  // namespace platform::registry_names
