#include "core/LogicalEnd.h"

#include <array>
#include <cstring>

namespace core {

namespace {

// Bytes from the window start to just after its last unit that is not NUL;
// 0 when there is none.
std::size_t EndInWindow(const std::uint8_t* bytes, std::size_t n, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) {
        while (n > 0 && bytes[n - 1] == 0) --n;
        return n;
    }
    for (std::size_t units = n / 2; units > 0; --units) {
        if (bytes[2 * units - 2] != 0 || bytes[2 * units - 1] != 0) return 2 * units;
    }
    return 0;
}

}  // namespace

std::optional<std::uint64_t> FindLogicalEnd(const platform::CFile& file, std::uint64_t size,
                                            TextEncoding encoding) {
    std::array<std::uint8_t, kEndSearchWindow> window;
    std::uint64_t offset = size;
    while (true) {
        offset = offset > kEndSearchWindow ? offset - kEndSearchWindow : 0;
        const long long got = file.ReadAt(offset, window.data(), window.size());
        if (got < 0) return std::nullopt;
        const std::size_t end = EndInWindow(window.data(), static_cast<std::size_t>(got), encoding);
        if (end > 0) return offset + end;
        if (offset == 0) return 0;
    }
}

}  // namespace core
