#pragma once
// What associating .log files means on a freedesktop desktop: our desktop
// entry becomes the default application for text/x-log (the type the
// desktop gives .log files), set and read with xdg-mime in the user's own
// configuration, and the default the user had before can be given back.

#include <string>
#include <string_view>

namespace app {

inline constexpr std::string_view kDesktopEntryName = "ostra-tarvik.desktop";
inline constexpr std::string_view kLogMimeType = "text/x-log";

// The desktop's default application for .log files, as xdg-mime tells it;
// empty when there is none or xdg-mime cannot tell.
std::string QueryDesktopLogDefault();

// Makes our entry the default for .log files. When no entry of ours is
// installed where the desktop looks, one for programPath is written to the
// user's applications folder first. False when xdg-mime failed.
bool MakeDesktopLogDefault(std::string_view programPath);

// Gives .log files back to previous, or (previous empty) drops the user's
// own default for them and the entry written for the program, so the
// desktop's usual choice applies again. Does nothing when our entry is no
// longer the default.
bool RestoreDesktopLogDefault(const std::string& previous);

// The Exec line of an entry that starts programPath with the files given,
// quoted the way desktop entries quote an argument when it needs it.
std::string DesktopExecLine(std::string_view programPath);

}  // namespace app
