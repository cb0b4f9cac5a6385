#include "view/RowPainter.h"

#include <QGlyphRun>
#include <QString>
#include <algorithm>

#include "view/ColorRef.h"
#include "view/TextContrast.h"

namespace view {

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr int kMarkSize = 13;

int NextColumn(char16_t c, int column, int tabSize) {
    if (c != u'\t') return column + 1;
    const int size = std::max(1, tabSize);
    return (column / size + 1) * size;
}

}  // namespace

int CRowPainter::XOfColumn(int column) const {
    return kMarginWidth + (column - style_.firstColumn) * style_.charWidth;
}

void CRowPainter::PaintMargin(int top, const QPixmap* mark) {
    painter_.fillRect(0, top, kMarginWidth, style_.lineHeight, style_.marginColor);
    if (mark && !mark->isNull()) {
        painter_.drawPixmap(2, top + (style_.lineHeight - kMarkSize) / 2, *mark);
    }
}

void CRowPainter::PaintPastEnd(int top) {
    PaintMargin(top, nullptr);
    FillToRight(top, style_.firstColumn, style_.defaultBkg);
}

void CRowPainter::FillColumns(int top, int fromColumn, int toColumn, std::uint32_t color) {
    const int left = std::max(kMarginWidth, XOfColumn(fromColumn));
    const int right = std::min(style_.viewWidth, XOfColumn(toColumn));
    if (right > left)
        painter_.fillRect(left, top, right - left, style_.lineHeight, ToQColor(color));
}

void CRowPainter::FillToRight(int top, int fromColumn, std::uint32_t color) {
    const int left = std::max(kMarginWidth, XOfColumn(fromColumn));
    if (style_.viewWidth > left) {
        painter_.fillRect(left, top, style_.viewWidth - left, style_.lineHeight, ToQColor(color));
    }
}

void CRowPainter::PaintRedLine(int top) {
    painter_.setPen(QPen(QColor(255, 0, 0), 1));
    painter_.drawLine(kMarginWidth, top, style_.viewWidth, top);
}

// A filter that only chose a background keeps black text; the line's own
// text is the palette's. On a light palette both read as they are; on a dark
// one black would vanish on a dark background and light text on a light
// highlight, so either becomes black or white by contrast. Any other colour
// a filter chose is drawn as chosen.
std::uint32_t CRowPainter::LineTextColor(const RowContent& row) const {
    if (!style_.darkPalette) return row.textColor;
    const bool ownBackground = row.lineBkg != style_.defaultBkg;
    if (row.textColor == kBlack || (row.textColor == style_.defaultText && ownBackground)) {
        return BlackOrWhiteOn(row.lineBkg);
    }
    return row.textColor;
}

std::uint32_t CRowPainter::RunTextColor(const filters::HighlightRun& run) const {
    if (style_.darkPalette && run.textColor == kBlack) return BlackOrWhiteOn(run.bkgColor);
    return run.textColor;
}

// The cell marking a selected line end is black; on a dark palette it takes
// whichever of black and white shows on what it covers.
std::uint32_t CRowPainter::SelectedEndColor(std::uint32_t under) const {
    return style_.darkPalette ? BlackOrWhiteOn(under) : kBlack;
}

void CRowPainter::PaintEmptyLine(int top, const RowContent& row) {
    FillToRight(top, style_.firstColumn, style_.defaultBkg);
    if (row.endSelected && style_.firstColumn == 0) {
        FillColumns(top, 0, 1, SelectedEndColor(style_.defaultBkg));
    }
}

void CRowPainter::PaintLine(int top, const RowContent& row) {
    PaintMargin(top, row.mark);
    painter_.setClipRect(kMarginWidth, top, std::max(0, style_.viewWidth - kMarginWidth),
                         style_.lineHeight);
    if (row.text.empty()) {
        PaintEmptyLine(top, row);
    } else {
        int column = 0;
        int next = 0;
        const int length = static_cast<int>(row.text.size());
        const std::uint32_t lineText = LineTextColor(row);
        if (row.runs) {
            for (const auto& run : *row.runs) {
                const int start = std::clamp(run.start, next, length);
                const int end = std::clamp(run.End(), start, length);
                column = PaintStretch(top, row, {next, start, lineText, row.lineBkg}, column);
                column =
                    PaintStretch(top, row, {start, end, RunTextColor(run), run.bkgColor}, column);
                next = end;
            }
        }
        column = PaintStretch(top, row, {next, length, lineText, row.lineBkg}, column);
        if (row.endSelected) {
            FillColumns(top, column, column + 1, SelectedEndColor(row.blankBkg));
            ++column;
        }
        FillToRight(top, column, row.blankBkg);
    }
    painter_.setClipping(false);
    if (row.redLine) PaintRedLine(top);
}

int CRowPainter::PaintStretch(int top, const RowContent& row, const Stretch& stretch, int column) {
    if (stretch.end <= stretch.start) return column;
    const int selStart = std::clamp(row.selStart, stretch.start, stretch.end);
    const int selEnd = std::clamp(row.selEnd, selStart, stretch.end);
    const auto piece = [&](int from, int to) { return row.text.substr(from, to - from); };
    column = PaintPiece(top, piece(stretch.start, selStart), column, stretch.text, stretch.bkg);
    if (style_.invertSelection) {
        column = PaintPiece(top, piece(selStart, selEnd), column, Complement(stretch.text),
                            Complement(stretch.bkg));
    } else {
        column = PaintPiece(top, piece(selStart, selEnd), column, kWhite, kBlack);
    }
    return PaintPiece(top, piece(selEnd, stretch.end), column, stretch.text, stretch.bkg);
}

// Only the visible part of a piece is laid out, so a very long line costs
// no more to paint than a screenful.
int CRowPainter::PaintPiece(int top, std::u16string_view text, int column, std::uint32_t textColor,
                            std::uint32_t bkgColor) {
    if (text.empty()) return column;
    const int lastVisible =
        style_.firstColumn + (style_.viewWidth - kMarginWidth) / std::max(1, style_.charWidth) + 1;
    if (column > lastVisible) return column + static_cast<int>(text.size());
    QString shown;
    int shownColumn = -1;
    int end = column;
    std::size_t i = 0;
    for (; i < text.size() && end <= lastVisible; ++i) {
        const char16_t c = text[i];
        const int next = NextColumn(c, end, style_.tabSize);
        if (next > style_.firstColumn) {
            if (shownColumn < 0) shownColumn = end;
            if (c == u'\t') {
                shown.append(QString(next - end, u' '));
            } else {
                shown.append(QChar(c));
            }
        }
        end = next;
    }
    if (shownColumn < 0) return end + static_cast<int>(text.size() - i);
    FillColumns(top, shownColumn, end, bkgColor);
    painter_.setPen(ToQColor(textColor));
    DrawText(XOfColumn(shownColumn), top + style_.ascent, shown);
    return end + static_cast<int>(text.size() - i);
}

void CRowPainter::DrawText(int x, int baseline, const QString& shown) {
    if (!DrawGlyphs(x, baseline, shown)) painter_.drawText(x, baseline, shown);
}

// One glyph per code unit on the grid: fast, and right for every character
// the font has. Anything else (a missing glyph, a surrogate pair) goes
// through the shaping path.
bool CRowPainter::DrawGlyphs(int x, int baseline, const QString& shown) {
    if (!style_.rawFont.isValid()) return false;
    const int count = static_cast<int>(shown.size());
    glyphs_.resize(count);
    int glyphCount = count;
    if (!style_.rawFont.glyphIndexesForChars(shown.constData(), count, glyphs_.data(),
                                             &glyphCount) ||
        glyphCount != count) {
        return false;
    }
    positions_.resize(count);
    for (int i = 0; i < count; ++i) {
        if (glyphs_[i] == 0 && shown.at(i) != u' ') return false;
        positions_[i] = QPointF(x + i * style_.charWidth, baseline);
    }
    QGlyphRun run;
    run.setRawFont(style_.rawFont);
    run.setGlyphIndexes(glyphs_);
    run.setPositions(positions_);
    painter_.drawGlyphRun(QPointF(0, 0), run);
    return true;
}

}  // namespace view
