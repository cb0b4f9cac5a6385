#pragma once
// The INI form of filter files: UTF-16LE with a byte-order mark, "\r\n" line
// ends, one section per filter ("[HFilter%d]" or "[Filter%d]") holding one
// "Key=value" line per field and closed by an empty line.
//
// Reading takes lines of at most kMaxLineChars characters: a longer line is
// read in pieces, each piece taken as a line of its own, so no line ever
// needs more memory than that. A file that does not start with the UTF-16LE
// byte-order mark and holds no zero byte near its start is read as UTF-8
// (after an optional UTF-8 byte-order mark), the form a filter file written
// by hand on this system most likely has. Any other file is read as UTF-16LE
// after two skipped bytes.

#include <cstdint>
#include <span>
#include <vector>

#include "filters/FilterFileRecords.h"

namespace filters::ini_file {

inline constexpr std::size_t kMaxLineChars = 10239;

// The whole file: the byte-order mark, then a section per filter in order,
// disabled ones included.
std::vector<std::uint8_t> WriteHighlight(std::span<const HighlightFilter> filters);
std::vector<std::uint8_t> WriteInEx(std::span<const InExFilterRow> rows);

// Appends the filters of every section with a non-empty Text, in file order.
// Keys are compared with case, unknown keys and lines without "=" ignored;
// nothing is validated. A highlight filter whose colours are both 0 gets a
// white background. Reading stops quietly at a read failure, and after
// kMaxFiltersPerFile filters, telling in leftOut whether more sections followed.
void ReadHighlight(const ReadBytesAt& read, HighlightFileImport& out);
void ReadInEx(const ReadBytesAt& read, std::vector<InExFilterRow>& out, bool* leftOut = nullptr);

}  // namespace filters::ini_file
