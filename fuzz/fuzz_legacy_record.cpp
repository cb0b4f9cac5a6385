// The fixed-size highlight record of the older settings layout and of
// fixed-layout files, as the store's migration reads it: any length up to the
// record size (shorter values predate the Enable field), any bytes. A decoded
// record encodes and decodes to the same filter.

#include <cstddef>
#include <cstdint>
#include <span>

#include "FilterEquality.h"
#include "FuzzCheck.h"
#include "filters/LegacyHighlightFilterRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using filters::LegacyHighlightFilterRecord;
    const filters::HighlightFilter filter = LegacyHighlightFilterRecord::Decode({data, size});
    FUZZ_CHECK(filter.phrase.text.size() <= LegacyHighlightFilterRecord::kTextBytes / 2);
    FUZZ_CHECK(!filter.phrase.regularExpression && filter.phrase.expression == nullptr);
    if (size <= LegacyHighlightFilterRecord::kSizeWithoutEnable) FUZZ_CHECK(filter.Enable);
    const std::vector<std::uint8_t> record = LegacyHighlightFilterRecord::Encode(filter);
    FUZZ_CHECK(record.size() == LegacyHighlightFilterRecord::kSize);
    const filters::HighlightFilter again = LegacyHighlightFilterRecord::Decode(record);
    // A text that filled its field without a NUL is cut by one character
    // when written; everything else comes back unchanged.
    if (again.phrase.text == filter.phrase.text && again.Emails == filter.Emails &&
        again.WrittenFile == filter.WrittenFile &&
        again.ExecutableProgram == filter.ExecutableProgram &&
        again.AvailableFile == filter.AvailableFile) {
        FUZZ_CHECK(fuzz::SameStoredFields(again, filter));
    }
    FUZZ_CHECK(again.Enable == filter.Enable && again.TextColor == filter.TextColor);
    return 0;
}
