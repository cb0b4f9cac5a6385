#pragma once
// The one place a source name becomes a stream source, for everything that
// carries names (the command line, the recent list, file sets, the
// hand-over, tarvik-tail). Whether an existing file of the same name wins
// is the caller's decision, made before asking here.

#include <memory>
#include <string>
#include <string_view>

#include "streams/IStreamSource.h"

namespace streams {

// True when name is written as a stream source's name (not a file path).
bool IsStreamSourceName(std::u16string_view name);

// The source the name stands for, not yet opened. Null for a name that is
// not a stream source's (error stays empty) or that cannot be read (the
// reason for the user in error).
std::unique_ptr<IStreamSource> CreateStreamSource(std::u16string_view name, std::u16string& error);

}  // namespace streams
