#pragma once
// What a filter file carries and where its bytes come from. Readers take
// their bytes through a positioned read, so a file is never held in memory
// whole and the fuzz targets can feed them from a buffer.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "filters/HighlightFilter.h"
#include "filters/InExFilter.h"
#include "filters/InExFilterRows.h"

namespace filters {

// Reads up to n bytes at offset into buffer: the number read, 0 at the end,
// -1 on failure.
using ReadBytesAt = std::function<long long(std::uint64_t offset, void* buffer, std::size_t n)>;

// A positioned read over bytes in memory; the bytes must outlive it.
ReadBytesAt BytesReader(std::span<const std::uint8_t> bytes);

// The most filters one file brings in; the rest of a file is ignored. A
// filter in memory takes far more room than its shortest INI section, so
// without a bound a hostile file of tiny sections would need many times its
// size; real filter sets are far smaller.
inline constexpr std::size_t kMaxFiltersPerFile = 10000;

// The highlight filters read from a file, in file order. Their phrases are
// set but not compiled: that happens once they are taken over.
struct HighlightFileImport {
    std::vector<HighlightFilter> filters;
    // An INI section set ReplaceWith or ReplaceText, which changes the text
    // documents show.
    bool touchesShowAs = false;
    // The file held more filters than one file brings in.
    bool leftOut = false;
};

}  // namespace filters
