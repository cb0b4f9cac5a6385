#include "core/TailWindow.h"

#include <algorithm>

namespace core {

std::uint64_t TailStart(std::uint64_t end, std::uint64_t textStart, TailLimit limit,
                        TextEncoding encoding) {
    std::uint64_t start = 0;
    if (encoding == TextEncoding::Utf16Le) {
        if (limit.limitBufSize && end > limit.maxBufSiz) {
            start = end - limit.maxBufSiz / 2;
            if ((end - start) % 2 != 0) ++start;
        }
    } else if (limit.limitBufSize && end > limit.maxBufSiz / 2) {
        start = end - limit.maxBufSiz / 4;
    }
    return std::max(start, textStart);
}

}  // namespace core
