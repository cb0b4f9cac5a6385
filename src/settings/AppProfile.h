#pragma once
// The application profile kept under the company key: the recent-file list,
// the print-preview page count and the first-run tour settings.

#include <cstdint>
#include <string>
#include <vector>

namespace settings {

class AppProfile {
public:
    static constexpr int kMaxRecentFiles = 50;

    // "File1" to "File50" in order; missing and empty entries are left out.
    static std::vector<std::u16string> LoadRecentFiles();
    // Replaces the stored list with the first 50 non-empty paths, numbered from 1.
    static bool SaveRecentFiles(const std::vector<std::u16string>& paths);

    static std::uint32_t PreviewPages();  // default 0
    static bool SetPreviewPages(std::uint32_t pages);
    static bool ShowQTour();  // default true
    static bool SetShowQTour(bool show);
    static std::uint32_t QTourID();  // default 0
    static bool SetQTourID(std::uint32_t id);
};

}  // namespace settings
