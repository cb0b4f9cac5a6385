#pragma once
// Where the program keeps its settings in the store. Every path is relative to
// the current user's root.

#include <string_view>

namespace settings::reg_paths {

// The program's own root and its subkeys.
inline constexpr std::u16string_view kRoot = u"Software\\Ostra Tarvik";
inline constexpr std::u16string_view kOptions = u"Software\\Ostra Tarvik\\Options";
inline constexpr std::u16string_view kDocsPos = u"Software\\Ostra Tarvik\\DocsPos";
inline constexpr std::u16string_view kFileAlias = u"Software\\Ostra Tarvik\\FileAlias";
inline constexpr std::u16string_view kCommandFolders = u"Software\\Ostra Tarvik\\Command Folders";
inline constexpr std::u16string_view kCommandRestarts = u"Software\\Ostra Tarvik\\Command Restarts";
inline constexpr std::u16string_view kFileSets = u"Software\\Ostra Tarvik\\File Sets";
inline constexpr std::u16string_view kFileExtEditors = u"Software\\Ostra Tarvik\\FileExtEditors";
inline constexpr std::u16string_view kHighlightFilters2 =
    u"Software\\Ostra Tarvik\\HighlightFilters2";
inline constexpr std::u16string_view kIncludeFilters2 = u"Software\\Ostra Tarvik\\IncludeFilters2";
inline constexpr std::u16string_view kExcludeFilters2 = u"Software\\Ostra Tarvik\\ExcludeFilters2";
inline constexpr std::u16string_view kIncludeFilters = u"Software\\Ostra Tarvik\\IncludeFilters";
inline constexpr std::u16string_view kExcludeFilters = u"Software\\Ostra Tarvik\\ExcludeFilters";
inline constexpr std::u16string_view kEmailSettings = u"Software\\Ostra Tarvik\\EmailSettings";
inline constexpr std::u16string_view kStopUpdating = u"Software\\Ostra Tarvik\\Stop Updating";
inline constexpr std::u16string_view kAOFPatterns = u"Software\\Ostra Tarvik\\AOFPatterns";
inline constexpr std::u16string_view kPresetHFFiles = u"Software\\Ostra Tarvik\\PresetHFFiles";
inline constexpr std::u16string_view kPresetIEFFiles = u"Software\\Ostra Tarvik\\PresetIEFFiles";

// The application profile: company key, then the application title.
inline constexpr std::u16string_view kProfile = u"Software\\Ostra Works\\Ostra Tarvik";
inline constexpr std::u16string_view kProfileRecentFiles =
    u"Software\\Ostra Works\\Ostra Tarvik\\Recent File List";
inline constexpr std::u16string_view kProfileSettings =
    u"Software\\Ostra Works\\Ostra Tarvik\\Settings";
inline constexpr std::u16string_view kProfileOptions =
    u"Software\\Ostra Works\\Ostra Tarvik\\Options";

}  // namespace settings::reg_paths
