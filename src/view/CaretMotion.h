#pragma once
// Where the caret goes for each movement key, over the lines of a buffer.
// Vertical moves keep the caret's screen column (tabs expanded).

#include "core/ITextBufferReader.h"
#include "core/TextPos.h"

namespace view {

class CaretMotion {
public:
    CaretMotion(const core::ITextBufferReader& reader, int tabSize)
        : reader_(reader), tabSize_(tabSize) {}

    // Always a position inside the text.
    core::TextPos Clamp(core::TextPos pos) const;
    core::TextPos Left(core::TextPos pos) const;
    core::TextPos Right(core::TextPos pos) const;
    core::TextPos WordLeft(core::TextPos pos) const;
    core::TextPos WordRight(core::TextPos pos) const;
    // Lines up (negative) or down, keeping the column.
    core::TextPos Vertical(core::TextPos pos, int lines) const;
    // Home goes to the first non-blank character, or to column 0 when
    // already there.
    core::TextPos Home(core::TextPos pos) const;
    core::TextPos End(core::TextPos pos) const;
    core::TextPos DocumentStart() const { return {}; }
    core::TextPos DocumentEnd() const;

private:
    int LastLine() const;

    const core::ITextBufferReader& reader_;
    int tabSize_;
};

}  // namespace view
