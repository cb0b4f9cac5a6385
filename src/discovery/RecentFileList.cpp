#include "discovery/RecentFileList.h"

#include <algorithm>

#include "settings/AppProfile.h"

namespace discovery {

namespace {

constexpr std::u16string_view kEllipsis = u"...";

// Paths are recorded absolute and normal; case tells files apart.
bool SamePath(std::u16string_view a, std::u16string_view b) {
    return a == b;
}

std::u16string_view RelativeTo(std::u16string_view path, std::u16string_view directory) {
    while (directory.size() > 1 && directory.back() == u'/') directory.remove_suffix(1);
    if (directory.empty()) return path;
    const std::size_t prefix = directory == u"/" ? 1 : directory.size() + 1;
    if (path.size() <= prefix || !path.starts_with(directory) || path[prefix - 1] != u'/') {
        return path;
    }
    return path.substr(prefix);
}

// A file name alone, cut to the limit when even that is too long.
std::u16string FitFileName(std::u16string_view name) {
    const std::size_t limit = CRecentFileList::kMaxDisplayLength;
    if (name.size() <= limit) return std::u16string(name);
    return std::u16string(name.substr(0, limit - kEllipsis.size())) + std::u16string(kEllipsis);
}

std::u16string DoubleAmpersands(std::u16string_view text) {
    std::u16string doubled;
    for (char16_t ch : text) {
        doubled.push_back(ch);
        if (ch == u'&') doubled.push_back(u'&');
    }
    return doubled;
}

}  // namespace

std::u16string RecentDisplayName(std::u16string_view path, std::u16string_view currentDirectory) {
    const std::u16string_view shown = RelativeTo(path, currentDirectory);
    const std::size_t limit = CRecentFileList::kMaxDisplayLength;
    if (shown.size() <= limit) return std::u16string(shown);
    const std::size_t lastSlash = shown.rfind(u'/');
    if (lastSlash == std::u16string_view::npos) return FitFileName(shown);
    const std::u16string head = shown.front() == u'/' ? u"/" : u"";
    // Keep as many trailing folders as fit after "<head>...".
    std::size_t tailStart = lastSlash;
    if (head.size() + kEllipsis.size() + (shown.size() - tailStart) > limit) {
        return FitFileName(shown.substr(lastSlash + 1));
    }
    for (;;) {
        const std::size_t previous =
            tailStart == 0 ? std::u16string_view::npos : shown.rfind(u'/', tailStart - 1);
        if (previous == std::u16string_view::npos || previous < head.size()) break;
        if (head.size() + kEllipsis.size() + (shown.size() - previous) > limit) break;
        tailStart = previous;
    }
    return head + std::u16string(kEllipsis) + std::u16string(shown.substr(tailStart));
}

void CRecentFileList::Add(const std::u16string& path) {
    if (path.empty()) return;
    Remove(path);
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > kCapacity) entries_.resize(kCapacity);
}

bool CRecentFileList::Remove(std::u16string_view path) {
    const auto found =
        std::find_if(entries_.begin(), entries_.end(),
                     [path](const std::u16string& entry) { return SamePath(entry, path); });
    if (found == entries_.end()) return false;
    entries_.erase(found);
    return true;
}

void CRecentFileList::RemoveAt(std::size_t index) {
    if (index < entries_.size()) entries_.erase(entries_.begin() + static_cast<long>(index));
}

void CRecentFileList::Load() {
    entries_.clear();
    for (const std::u16string& path : settings::AppProfile::LoadRecentFiles()) {
        if (entries_.size() == kCapacity) break;
        const bool known =
            std::any_of(entries_.begin(), entries_.end(),
                        [&path](const std::u16string& entry) { return SamePath(entry, path); });
        if (!known) entries_.push_back(path);
    }
}

bool CRecentFileList::Save() const {
    return settings::AppProfile::SaveRecentFiles(entries_);
}

std::vector<std::u16string> CRecentFileList::MenuTexts(std::u16string_view currentDirectory) const {
    std::vector<std::u16string> texts;
    const std::size_t shown = std::min(entries_.size(), kMenuEntries);
    for (std::size_t i = 0; i < shown; ++i) {
        const char16_t digit = static_cast<char16_t>(u'0' + (i + 1) % 10);
        std::u16string text = u"&";
        text += digit;
        text += u' ';
        text += DoubleAmpersands(RecentDisplayName(entries_[i], currentDirectory));
        texts.push_back(std::move(text));
    }
    return texts;
}

}  // namespace discovery
