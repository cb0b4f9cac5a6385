// The INI reader of both filter kinds. Whatever it reads must come back
// unchanged when written and read again.

#include <cstddef>
#include <cstdint>
#include <span>

#include "FilterEquality.h"
#include "FuzzCheck.h"
#include "filters/IniFilterFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace filters;
    const std::span<const std::uint8_t> bytes(data, size);

    HighlightFileImport highlight;
    ini_file::ReadHighlight(BytesReader(bytes), highlight);
    const std::vector<std::uint8_t> written = ini_file::WriteHighlight(highlight.filters);
    HighlightFileImport again;
    ini_file::ReadHighlight(BytesReader(written), again);
    FUZZ_CHECK(again.filters.size() == highlight.filters.size());
    for (std::size_t i = 0; i < again.filters.size(); ++i) {
        FUZZ_CHECK(fuzz::SameStoredFields(again.filters[i], highlight.filters[i]));
    }

    std::vector<InExFilterRow> rows;
    ini_file::ReadInEx(BytesReader(bytes), rows);
    const std::vector<std::uint8_t> writtenRows = ini_file::WriteInEx(rows);
    std::vector<InExFilterRow> rowsAgain;
    ini_file::ReadInEx(BytesReader(writtenRows), rowsAgain);
    FUZZ_CHECK(rowsAgain.size() == rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) FUZZ_CHECK(fuzz::SameRow(rowsAgain[i], rows[i]));
    return 0;
}
