#pragma once
// The fixed 2156-byte record of the older settings layout and of fixed-layout
// highlight filter files: little-endian unsigned 32-bit numbers and UTF-16LE
// texts, each NUL-terminated within its fixed-size field.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "filters/HighlightFilter.h"

namespace filters {

class LegacyHighlightFilterRecord {
public:
    static constexpr std::size_t kSize = 2156;
    // Records of this size or less were written before the Enable field
    // existed; their filters are in force.
    static constexpr std::size_t kSizeWithoutEnable = 2140;

    // The filter a record holds. Shorter data is read as if the missing
    // bytes were zero; bytes past kSize are ignored. A text field without a
    // NUL ends at the field's end. The layout knows neither match case,
    // regular expressions nor "Show as", so the phrase is plain and compared
    // without case. The result is prepared (folded copies, notifiedDocuments
    // by the rule).
    static HighlightFilter Decode(std::span<const std::uint8_t> data);

    // The record of a filter; texts longer than their field are cut so that
    // the terminating NUL still fits.
    static std::vector<std::uint8_t> Encode(const HighlightFilter& filter);

    // Field offsets, sizes in bytes.
    static constexpr std::size_t kTextColor = 0;
    static constexpr std::size_t kBkgColor = 4;
    static constexpr std::size_t kText = 8;
    static constexpr std::size_t kTextBytes = 140;
    static constexpr std::size_t kSendEmail = 148;
    static constexpr std::size_t kSendFirstOccured = 152;
    static constexpr std::size_t kEmails = 156;
    static constexpr std::size_t kEmailsBytes = 400;
    static constexpr std::size_t kWriteFile = 556;
    static constexpr std::size_t kIncludeFileName = 560;
    static constexpr std::size_t kWrittenFile = 564;
    static constexpr std::size_t kWrittenFileBytes = 524;
    static constexpr std::size_t kPrintLineToDefaultPrinter = 1088;
    static constexpr std::size_t kExecuteProgram = 1092;
    static constexpr std::size_t kExecutableProgram = 1096;
    static constexpr std::size_t kExecutableProgramBytes = 520;
    static constexpr std::size_t kActionsOnlyAvailableInSpecialFile = 1616;
    static constexpr std::size_t kAvailableFile = 1620;
    static constexpr std::size_t kAvailableFileBytes = 520;
    static constexpr std::size_t kEnable = 2140;
    static constexpr std::size_t kIncludeTimestamp = 2144;
    static constexpr std::size_t kHighlightEntireLine = 2148;
    static constexpr std::size_t kAttachPreviousLinesWithEmail = 2152;
};

}  // namespace filters
