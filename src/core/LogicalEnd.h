#pragma once
// Where the text of a file ends: writers that preallocate leave NULs after
// their last line, and those are not text.

#include <cstdint>
#include <optional>

#include "core/TextEncoding.h"
#include "platform/File.h"

namespace core {

inline constexpr std::uint32_t kEndSearchWindow = 32768;

// Steps a 32 KiB window back from `size` and returns the offset just after
// the last unit that is not NUL: whole UTF-16 units counted from the window's
// offset, or bytes for UTF-8. 0 when the file holds nothing else; nothing
// when a read fails.
std::optional<std::uint64_t> FindLogicalEnd(const platform::CFile& file, std::uint64_t size,
                                            TextEncoding encoding);

}  // namespace core
