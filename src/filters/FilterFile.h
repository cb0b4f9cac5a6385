#pragma once
// Filter files by path: which form a file is read in, reading it, writing
// the INI form, and the texts that tell the user a file failed.
//
// The form follows the name: the text from the last "." of the whole path
// decides, so a dot in a folder name counts when the file name has none.
// ".ini" (any case) means the INI form, anything else the fixed-layout form.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "filters/FilterFileRecords.h"

namespace filters {

bool IsIniFilterFileName(std::u16string_view path);

// False when the file cannot be opened or, in the fixed-layout form, its
// header is short or wrong. What was read is appended to out either way.
bool ReadHighlightFilterFile(std::u16string_view path, HighlightFileImport& out);
// leftOut (and HighlightFileImport::leftOut) tells whether the file held
// more filters than one file brings in.
bool ReadInExFilterFile(std::u16string_view path, std::vector<InExFilterRow>& out,
                        bool* leftOut = nullptr);

// Creates the file anew (replacing one that is there) and writes the INI
// form. False when it cannot be created or written whole.
bool WriteHighlightFilterFile(std::u16string_view path, std::span<const HighlightFilter> filters);
bool WriteInExFilterFile(std::u16string_view path, std::span<const InExFilterRow> rows);

// "Failed to import filters from file \"<path>\"" and its export twin.
std::u16string ImportFailedMessage(std::u16string_view path);
std::u16string ExportFailedMessage(std::u16string_view path);
// "<count> filters were read from the file; the rest of it was left out, as
// one file brings in at most 10000 filters."
std::u16string LeftOutMessage(std::size_t count);

}  // namespace filters
