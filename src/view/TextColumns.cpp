#include "view/TextColumns.h"

#include <algorithm>

namespace view {

namespace {

int NextColumn(char16_t c, int column, int tabSize) {
    if (c != u'\t') return column + 1;
    const int size = std::max(1, tabSize);
    return (column / size + 1) * size;
}

}  // namespace

int ColumnOfChar(std::u16string_view text, int ch, int tabSize) {
    const int end = std::clamp(ch, 0, static_cast<int>(text.size()));
    int column = 0;
    for (int i = 0; i < end; ++i) column = NextColumn(text[i], column, tabSize);
    return column;
}

int CharAtColumn(std::u16string_view text, int column, int tabSize) {
    int current = 0;
    for (int i = 0; i < static_cast<int>(text.size()); ++i) {
        const int next = NextColumn(text[i], current, tabSize);
        if (column < next) return (column - current) * 2 < next - current ? i : i + 1;
        current = next;
    }
    return static_cast<int>(text.size());
}

int LineColumns(std::u16string_view text, int tabSize) {
    return ColumnOfChar(text, static_cast<int>(text.size()), tabSize);
}

}  // namespace view
