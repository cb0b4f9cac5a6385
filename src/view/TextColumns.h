#pragma once
// Where the characters of a line sit on screen once tabs are expanded: tab
// stops every tabSize columns, every other code unit one column wide.

#include <string_view>

namespace view {

// The column at which character ch starts (ch may be the line length).
int ColumnOfChar(std::u16string_view text, int ch, int tabSize);
// The character whose cell holds column, or the nearer edge of a tab; the
// line length for columns after the end of the text.
int CharAtColumn(std::u16string_view text, int column, int tabSize);
// The columns the whole line takes.
int LineColumns(std::u16string_view text, int tabSize);

}  // namespace view
