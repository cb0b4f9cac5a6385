// The fixed-layout include/exclude filter file reader: never more records
// than the data holds whole, phrases within their field, and the records
// written back read the same.

#include <cstddef>
#include <cstdint>
#include <span>

#include "FilterEquality.h"
#include "FuzzCheck.h"
#include "filters/FixedLayoutFilterFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace filters;
    std::vector<InExFilterRow> rows;
    const bool ok = fixed_layout::ReadInEx(BytesReader({data, size}), rows);
    FUZZ_CHECK(ok || rows.empty());
    const std::size_t body =
        size < fixed_layout::kHeaderSize ? 0 : size - fixed_layout::kHeaderSize;
    FUZZ_CHECK(rows.size() <= body / fixed_layout::kInExRecordSizeNarrow);
    for (const InExFilterRow& row : rows) {
        FUZZ_CHECK(row.text.size() <= 260);
        FUZZ_CHECK(row.enable && !row.matchCase);
    }
    // Wide records keep every phrase of at most 259 characters exactly.
    const std::vector<std::uint8_t> written = fixed_layout::WriteInEx(rows, true);
    std::vector<InExFilterRow> again;
    FUZZ_CHECK(rows.empty() || fixed_layout::ReadInEx(BytesReader(written), again));
    FUZZ_CHECK(again.size() == rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].text.size() < 260) FUZZ_CHECK(fuzz::SameRow(again[i], rows[i]));
    }
    return 0;
}
