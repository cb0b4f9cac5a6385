// The fixed-layout highlight filter file reader: never more records than the
// data holds whole.

#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzCheck.h"
#include "filters/FixedLayoutFilterFile.h"
#include "filters/LegacyHighlightFilterRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace filters;
    HighlightFileImport read;
    const bool ok = fixed_layout::ReadHighlight(BytesReader({data, size}), read);
    FUZZ_CHECK(ok || read.filters.empty());
    const std::size_t whole =
        size < fixed_layout::kHeaderSize
            ? 0
            : (size - fixed_layout::kHeaderSize) / LegacyHighlightFilterRecord::kSize;
    FUZZ_CHECK(read.filters.size() <= whole);
    return 0;
}
