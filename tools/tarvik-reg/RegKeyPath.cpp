#include "RegKeyPath.h"

#include <cctype>

#include "platform/CodePage.h"

namespace tarvik_reg {

namespace {

bool SameWithoutCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::optional<platform::RegRoot> ParseRoot(std::string_view name) {
    if (SameWithoutCase(name, "HKCU") || SameWithoutCase(name, "HKEY_CURRENT_USER"))
        return platform::RegRoot::CurrentUser;
    if (SameWithoutCase(name, "HKCR") || SameWithoutCase(name, "HKEY_CLASSES_ROOT"))
        return platform::RegRoot::ClassesRoot;
    return std::nullopt;
}

// Drops empty parts so "a\\\\b\\" and "a\\b" name the same key.
std::u16string Normalise(std::string_view below) {
    std::u16string result;
    std::size_t start = 0;
    while (start <= below.size()) {
        std::size_t end = below.find('\\', start);
        if (end == std::string_view::npos) end = below.size();
        if (end > start) {
            if (!result.empty()) result += u'\\';
            result += platform::Utf8ToUtf16(below.substr(start, end - start));
        }
        start = end + 1;
    }
    return result;
}

}  // namespace

std::string RootName(platform::RegRoot root) {
    return root == platform::RegRoot::ClassesRoot ? "HKEY_CLASSES_ROOT" : "HKEY_CURRENT_USER";
}

std::string KeyPath::Display() const {
    std::string text = RootName(root);
    if (!below.empty()) text += "\\" + platform::Utf16ToUtf8(below);
    return text;
}

KeyPath KeyPath::Child(std::u16string_view name) const {
    KeyPath child = *this;
    if (!child.below.empty()) child.below += u'\\';
    child.below += name;
    return child;
}

std::optional<KeyPath> ParseKeyPath(std::string_view text) {
    const std::size_t slash = text.find('\\');
    const auto root = ParseRoot(text.substr(0, slash));
    if (!root) return std::nullopt;
    KeyPath path;
    path.root = *root;
    if (slash != std::string_view::npos) path.below = Normalise(text.substr(slash + 1));
    return path;
}

}  // namespace tarvik_reg
