#pragma once
// How a file is named wherever it is recorded, handed over or compared: its
// absolute, lexically normal path. File systems here are case-sensitive, so
// two paths name the same file only when they are equal unit for unit.

#include <string>
#include <string_view>

namespace discovery {

// path made absolute against the current folder and lexically normal
// ("a/./b/../c" becomes "<cwd>/a/c"); an empty path stays empty.
std::u16string NormalPath(std::u16string_view path);

// The name a document is opened, recorded and handed over by: a stream
// source's name (the journal's, in its one stable form) stays a name, any
// other text is a path made NormalPath. An existing file of the same name
// always wins over a source name.
std::u16string NormalDocumentName(std::u16string_view name);

}  // namespace discovery
