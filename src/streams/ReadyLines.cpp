#include "streams/ReadyLines.h"

#include <algorithm>

namespace streams {

namespace {

// A buffer grown larger than this by a burst is given back once empty.
constexpr std::size_t kKeptUnits = 1u << 16;

}  // namespace

void CReadyLines::Clear() {
    if (text_.capacity() > kKeptUnits) text_ = std::u16string();
    text_.clear();
    at_ = 0;
}

std::size_t CReadyLines::Hand(std::u16string& out, std::size_t maxUnits) {
    const std::size_t available = text_.size() - at_;
    if (available == 0) return 0;
    std::size_t units = available;
    if (units > maxUnits) {
        std::size_t cut = text_.rfind(u"\r\n", at_ + std::max<std::size_t>(maxUnits, 2) - 2);
        if (cut == std::u16string::npos || cut < at_) cut = text_.find(u"\r\n", at_);
        units = cut == std::u16string::npos ? available : cut + 2 - at_;
    }
    out.append(text_, at_, units);
    at_ += units;
    if (at_ == text_.size()) Clear();
    return units;
}

}  // namespace streams
