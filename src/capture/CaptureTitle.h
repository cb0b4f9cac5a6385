#pragma once
// The names of the capture document: its title names the processes it
// captures, its tab and document name are fixed.

#include <string>
#include <string_view>

#include "settings/Options.h"

namespace capture {

inline constexpr std::u16string_view kCaptureDocumentName = u"OutputDebugString";

// "OutputDebugString - All Processes" or "OutputDebugString - Process <42>".
std::u16string CaptureTitle(const settings::Options& options);

}  // namespace capture
