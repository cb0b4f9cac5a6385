#include "view/CaretMotion.h"

#include <QChar>
#include <algorithm>

#include "view/TextColumns.h"

namespace view {

namespace {

bool IsWordChar(char16_t c) {
    return c == u'_' || QChar(c).isLetterOrNumber();
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

}  // namespace

int CaretMotion::LastLine() const {
    return std::max(0, reader_.LineCount() - 1);
}

core::TextPos CaretMotion::Clamp(core::TextPos pos) const {
    const int line = std::clamp(pos.line, 0, LastLine());
    return {std::clamp(pos.ch, 0, reader_.LineLength(line)), line};
}

core::TextPos CaretMotion::Left(core::TextPos pos) const {
    pos = Clamp(pos);
    if (pos.ch > 0) return {pos.ch - 1, pos.line};
    if (pos.line > 0) return {reader_.LineLength(pos.line - 1), pos.line - 1};
    return pos;
}

core::TextPos CaretMotion::Right(core::TextPos pos) const {
    pos = Clamp(pos);
    if (pos.ch < reader_.LineLength(pos.line)) return {pos.ch + 1, pos.line};
    if (pos.line < LastLine()) return {0, pos.line + 1};
    return pos;
}

core::TextPos CaretMotion::WordLeft(core::TextPos pos) const {
    pos = Clamp(pos);
    if (pos.ch == 0) return Left(pos);
    const auto text = reader_.LineText(pos.line);
    int ch = pos.ch;
    while (ch > 0 && IsBlank(text[ch - 1])) --ch;
    if (ch > 0 && IsWordChar(text[ch - 1])) {
        while (ch > 0 && IsWordChar(text[ch - 1])) --ch;
    } else if (ch > 0) {
        --ch;
    }
    return {ch, pos.line};
}

core::TextPos CaretMotion::WordRight(core::TextPos pos) const {
    pos = Clamp(pos);
    const auto text = reader_.LineText(pos.line);
    const int length = static_cast<int>(text.size());
    if (pos.ch >= length) return Right(pos);
    int ch = pos.ch;
    if (IsWordChar(text[ch])) {
        while (ch < length && IsWordChar(text[ch])) ++ch;
    } else {
        ++ch;
    }
    while (ch < length && IsBlank(text[ch])) ++ch;
    return {ch, pos.line};
}

core::TextPos CaretMotion::Vertical(core::TextPos pos, int lines) const {
    pos = Clamp(pos);
    const int column = ColumnOfChar(reader_.LineText(pos.line), pos.ch, tabSize_);
    const int line = std::clamp(pos.line + lines, 0, LastLine());
    return {CharAtColumn(reader_.LineText(line), column, tabSize_), line};
}

core::TextPos CaretMotion::Home(core::TextPos pos) const {
    pos = Clamp(pos);
    const auto text = reader_.LineText(pos.line);
    int firstNonBlank = 0;
    while (firstNonBlank < static_cast<int>(text.size()) && IsBlank(text[firstNonBlank])) {
        ++firstNonBlank;
    }
    return {pos.ch == firstNonBlank ? 0 : firstNonBlank, pos.line};
}

core::TextPos CaretMotion::End(core::TextPos pos) const {
    pos = Clamp(pos);
    return {reader_.LineLength(pos.line), pos.line};
}

core::TextPos CaretMotion::DocumentEnd() const {
    return {reader_.LineLength(LastLine()), LastLine()};
}

}  // namespace view
