#include "core/SizeFormat.h"

#include <cinttypes>
#include <cstdio>

namespace core {

namespace {

std::u16string FromAscii(const char* text) {
    std::u16string result;
    for (; *text; ++text) result.push_back(static_cast<char16_t>(*text));
    return result;
}

std::u16string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return FromAscii(text);
}

std::u16string FormatWhole(const char* format, std::int64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return FromAscii(text);
}

}  // namespace

std::u16string FormatFileSize(std::int64_t bytes) {
    if (bytes < 0) return FormatWhole("%" PRId64 " B", bytes);
    return FormatHumanSize(static_cast<std::uint64_t>(bytes));
}

std::u16string FormatHumanSize(std::uint64_t bytes) {
    const double value = static_cast<double>(bytes);
    if (bytes < 1000) return FormatWhole("%" PRId64 " B", static_cast<std::int64_t>(bytes));
    if (bytes < 1024000) return Format("%.1f KB", value / 1024);
    if (bytes < 1048576000) return Format("%.2f MB", value / 1048576);
    if (bytes < 0xFA00000000) return Format("%.2f GB", value / 1073741824);
    return Format("%.2f TB", value / 1099511627776.0);
}

std::u16string FormatBufferSize(std::uint32_t bytes) {
    const double value = static_cast<double>(bytes);
    if (bytes < 1024) return FormatWhole("%" PRId64 "Byte", bytes);
    if (bytes <= 0xFFFFF) return Format("%.2fKB", value / 1024);
    if (bytes <= 0x3FFFFFFF) return Format("%.2fMB", value / 1048576);
    return Format("%.2fGB", value / 1073741824);
}

std::u16string FormatTextLength(std::uint32_t bytes) {
    return FormatBufferSize(bytes);
}

std::u16string FormatDuration(std::uint32_t milliseconds) {
    const double value = static_cast<double>(milliseconds);
    if (milliseconds < 1000) return FormatWhole("%" PRId64 " ms", milliseconds);
    if (milliseconds < 60000) return Format("%.1f sec.", value / 1000);
    return Format("%.1f min.", value / 60000);
}

}  // namespace core
