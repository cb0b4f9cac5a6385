#pragma once
// Paints one row of a log view: the margin with its mark, the line's text in
// its colour runs with the selection, the end-of-line cell, the blank after
// the text and the red line. One left-to-right walk over the runs.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QPointF>
#include <QRawFont>
#include <QVector>
#include <cstdint>
#include <string_view>

#include "filters/HighlightRun.h"

namespace view {

inline constexpr int kMarginWidth = 20;

// What stays the same for every row of one paint.
struct RowStyle {
    QFont font;
    // The same font for drawing glyphs straight onto the character grid,
    // without shaping; text it cannot show is drawn through font.
    QRawFont rawFont;
    int charWidth = 8;
    int lineHeight = 16;
    int ascent = 12;
    int viewWidth = 0;
    int firstColumn = 0;
    int tabSize = 4;
    bool invertSelection = true;
    QColor marginColor;
    // 0x00BBGGRR: the system's window text and window background.
    std::uint32_t defaultText = 0;
    std::uint32_t defaultBkg = 0xFFFFFF;
    // The palette's background is darker than its text: text left in a
    // default colour on a background of its own is drawn black or white,
    // whichever reads better there.
    bool darkPalette = false;
};

// One line as it is to be painted.
struct RowContent {
    std::u16string_view text;
    const filters::HighlightRunList* runs = nullptr;
    std::uint32_t textColor = 0;
    // The background between runs, and the one after the end of the text.
    std::uint32_t lineBkg = 0xFFFFFF;
    std::uint32_t blankBkg = 0xFFFFFF;
    // The selected characters [selStart, selEnd) of this line.
    int selStart = 0;
    int selEnd = 0;
    // The line's end lies inside the selection.
    bool endSelected = false;
    bool redLine = false;
    const QPixmap* mark = nullptr;
};

class CRowPainter {
public:
    CRowPainter(QPainter& painter, const RowStyle& style) : painter_(painter), style_(style) {}

    // A row of the line at the given top.
    void PaintLine(int top, const RowContent& row);
    // A row below the last line.
    void PaintPastEnd(int top);

private:
    struct Stretch {
        int start;
        int end;
        std::uint32_t text;
        std::uint32_t bkg;
    };

    void PaintMargin(int top, const QPixmap* mark);
    void PaintEmptyLine(int top, const RowContent& row);
    // Returns the column after the stretch.
    int PaintStretch(int top, const RowContent& row, const Stretch& stretch, int column);
    int PaintPiece(int top, std::u16string_view text, int column, std::uint32_t textColor,
                   std::uint32_t bkgColor);
    void FillColumns(int top, int fromColumn, int toColumn, std::uint32_t color);
    void FillToRight(int top, int fromColumn, std::uint32_t color);
    void PaintRedLine(int top);
    std::uint32_t LineTextColor(const RowContent& row) const;
    std::uint32_t RunTextColor(const filters::HighlightRun& run) const;
    std::uint32_t SelectedEndColor(std::uint32_t under) const;
    int XOfColumn(int column) const;
    void DrawText(int x, int baseline, const QString& shown);
    bool DrawGlyphs(int x, int baseline, const QString& shown);

    QPainter& painter_;
    const RowStyle& style_;
    QVector<quint32> glyphs_;
    QVector<QPointF> positions_;
};

}  // namespace view
