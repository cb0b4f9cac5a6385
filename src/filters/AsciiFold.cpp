#include "filters/AsciiFold.h"

namespace filters {

void FoldAsciiLower(std::u16string& text) {
    for (char16_t& ch : text) ch = FoldAsciiLower(ch);
}

std::u16string FoldedAsciiLower(std::u16string_view text) {
    std::u16string folded(text);
    FoldAsciiLower(folded);
    return folded;
}

}  // namespace filters
