#pragma once
// Loading and saving the general options under the Options key.

#include <cstdint>

#include "settings/Options.h"
#include "settings/WindowRect.h"

namespace settings {

// Save groups: each bit names the dialog or command that changes its values.
namespace option_group {
inline constexpr std::uint32_t kFont = 0x1;
inline constexpr std::uint32_t kAlwaysOnTop = 0x2;
inline constexpr std::uint32_t kBuffer = 0x4;
inline constexpr std::uint32_t kToolbar = 0x10;
inline constexpr std::uint32_t kStatusBar = 0x20;
inline constexpr std::uint32_t kWindowPlacement = 0x40;
inline constexpr std::uint32_t kAutoOpen = 0x80;
inline constexpr std::uint32_t kOdsTimestamp = 0x200;
inline constexpr std::uint32_t kOdsSequence = 0x400;
inline constexpr std::uint32_t kOdsProcesses = 0x800;
inline constexpr std::uint32_t kOdsProcess = 0x1000;
inline constexpr std::uint32_t kRefreshRate = 0x2000;
inline constexpr std::uint32_t kDefaultEditor = 0x4000;
inline constexpr std::uint32_t kHighlight = 0x10000;
inline constexpr std::uint32_t kOdsProcessId = 0x20000;
inline constexpr std::uint32_t kOptionsDialog = 0x40000;
inline constexpr std::uint32_t kInExFilters = 0x80000;
inline constexpr std::uint32_t kTabBar = 0x200000;
inline constexpr std::uint32_t kTabBarPosition = 0x400000;
inline constexpr std::uint32_t kChildState = 0x800000;
inline constexpr std::uint32_t kSaveAll = 0x1000000;

// What the main window writes when it is destroyed; window placement is
// added only when the placement could be read.
inline constexpr std::uint32_t kMainWindowDestroyed =
    kToolbar | kStatusBar | kTabBar | kTabBarPosition | kChildState;
}  // namespace option_group

// Reads every option in its load order and repairs the values that fail their
// load checks. The caller presets maximized (true) and rect (empty); a stored
// value replaces them. A missing key leaves every default.
void LoadOptionValues(Options& options, bool& maximized, WindowRect& rect);

// Writes the values of the groups in mask in one transaction, creating the key
// when missing. rect may be null (then only the maximized flag is written for
// the placement group). Returns false only for an empty mask, which writes
// nothing; a store that cannot be written is silent.
bool SaveOptionGroups(const Options& options, std::uint32_t mask, bool maximized,
                      const WindowRect* rect);

// OnlyOneInstance alone, read before anything else at start-up.
bool ReadOnlyOneInstance();

}  // namespace settings
