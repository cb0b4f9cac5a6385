#include "view/ViewPrinter.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace view {
namespace {

constexpr int kDefaultTabSize = 4;
constexpr int kMaxTabSize = 64;
// The footer takes two rows at the foot of the printed area: a gap and its text.
constexpr int kFooterRows = 2;

QColor QColorOf(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

int NextTabStop(int column, int tabSize) {
    return (column / tabSize + 1) * tabSize;
}

// A pixel-sized font is sized for the screen; on paper it keeps its size in
// inches, not in dots.
QFont FontForDevice(QFont font, int dpiY) {
    if (font.pixelSize() > 0) {
        const double scaled =
            font.pixelSize() * static_cast<double>(dpiY) / CViewPrinter::kScreenDpi;
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(scaled))));
    }
    return font;
}

}  // namespace

struct CViewPrinter::Layout {
    QRect area;
    QFont font;
    double charWidth = 1;
    int lineHeight = 1;
    int ascent = 0;
    int columnsPerRow = 1;
    int rowsPerPage = 1;
    std::vector<Row> rows;

    // Whole pixels, so neighbouring stretches meet without gaps.
    int CellLeft(int cell) const {
        return area.left() + static_cast<int>(std::lround(cell * charWidth));
    }

    int PageCount() const {
        const int pages = (static_cast<int>(rows.size()) + rowsPerPage - 1) / rowsPerPage;
        return std::max(1, pages);
    }
};

struct CViewPrinter::ExpandedLine {
    struct Style {
        QColor text;
        QColor bkg;
    };
    // One character cell per column, tabs turned into spaces.
    QString cells;
    std::vector<std::size_t> styleOfCell;
    std::vector<Style> styles;  // 0: the line's own colours, then one per run
};

CViewPrinter::CViewPrinter(const core::ITextBufferReader& buffer, ColorRunSource colors)
    : buffer_(buffer),
      colors_(std::move(colors)),
      font_(QFontDatabase::systemFont(QFontDatabase::FixedFont)) {}

void CViewPrinter::SetLineRange(int first, int last) {
    firstLine_ = first;
    lastLine_ = last;
}

void CViewPrinter::SetFont(const QFont& font) {
    font_ = font;
}

void CViewPrinter::SetTabSize(int tabSize) {
    tabSize_ = tabSize >= 1 && tabSize <= kMaxTabSize ? tabSize : kDefaultTabSize;
}

void CViewPrinter::SetPageSetup(const PageSetup& setup) {
    pageSetup_ = setup;
}

void CViewPrinter::SetHighlightLine(bool on, std::uint32_t bkgColor) {
    highlightLine_ = on;
    highlightLineBkg_ = bkgColor;
}

QString CViewPrinter::FooterText(int page, int pageCount) {
    return QStringLiteral("Page %1/%2").arg(page).arg(pageCount);
}

int CViewPrinter::ColumnCount(std::u16string_view text, int tabSize) {
    int column = 0;
    for (char16_t ch : text) column = ch == u'\t' ? NextTabStop(column, tabSize) : column + 1;
    return column;
}

CViewPrinter::Layout CViewPrinter::MakeLayout(const QPaintDevice& device, const QRect& page) const {
    Layout layout;
    layout.area = pageSetup_.PrintArea(page, device.logicalDpiX(), device.logicalDpiY());
    layout.font = FontForDevice(font_, device.logicalDpiY());
    const QFontMetricsF metrics(layout.font, &device);
    layout.charWidth = std::max(1.0, metrics.horizontalAdvance(QLatin1Char('X')));
    layout.lineHeight = std::max(1, static_cast<int>(std::ceil(metrics.height())));
    layout.ascent = static_cast<int>(std::ceil(metrics.ascent()));
    layout.columnsPerRow = std::max(1, static_cast<int>(layout.area.width() / layout.charWidth));
    layout.rowsPerPage = std::max(1, layout.area.height() / layout.lineHeight - kFooterRows);

    const int first = std::max(0, firstLine_);
    const int last =
        lastLine_ < 0 ? buffer_.LineCount() - 1 : std::min(lastLine_, buffer_.LineCount() - 1);
    for (int line = first; line <= last; ++line) {
        const int columns = ColumnCount(buffer_.LineText(line), tabSize_);
        int firstColumn = 0;
        do {
            layout.rows.push_back({line, firstColumn});
            firstColumn += layout.columnsPerRow;
        } while (firstColumn < columns);
    }
    return layout;
}

CViewPrinter::ExpandedLine CViewPrinter::Expand(int line) const {
    const std::u16string_view text = buffer_.LineText(line);
    std::uint32_t textColor = kPaperTextColor;
    std::uint32_t bkgColor = kPaperBkgColor;
    filters::HighlightRunList runs;
    if (colors_ && !text.empty()) runs = colors_(line, textColor, bkgColor);
    if (highlightLine_ && !runs.empty() && bkgColor == kPaperBkgColor) {
        bkgColor = highlightLineBkg_;
    }

    ExpandedLine expanded;
    expanded.styles.push_back({QColorOf(textColor), QColorOf(bkgColor)});
    std::vector<std::size_t> styleOfChar(text.size(), 0);
    for (const filters::HighlightRun& run : runs) {
        expanded.styles.push_back({QColorOf(run.textColor), QColorOf(run.bkgColor)});
        const int begin = std::clamp(run.start, 0, static_cast<int>(text.size()));
        const int end = std::clamp(run.End(), begin, static_cast<int>(text.size()));
        std::fill(styleOfChar.begin() + begin, styleOfChar.begin() + end,
                  expanded.styles.size() - 1);
    }

    for (std::size_t i = 0; i < text.size(); ++i) {
        const int column = static_cast<int>(expanded.cells.size());
        const int width = text[i] == u'\t' ? NextTabStop(column, tabSize_) - column : 1;
        const QChar cell = text[i] == u'\t' ? QChar(u' ') : QChar(text[i]);
        for (int k = 0; k < width; ++k) {
            expanded.cells.append(cell);
            expanded.styleOfCell.push_back(styleOfChar[i]);
        }
    }
    return expanded;
}

void CViewPrinter::PaintRow(QPainter& painter, const Layout& layout, const ExpandedLine& line,
                            int firstColumn, int y) const {
    const int endColumn =
        std::min(static_cast<int>(line.cells.size()), firstColumn + layout.columnsPerRow);
    int column = firstColumn;
    while (column < endColumn) {
        const std::size_t style = line.styleOfCell[static_cast<std::size_t>(column)];
        int stretchEnd = column + 1;
        while (stretchEnd < endColumn &&
               line.styleOfCell[static_cast<std::size_t>(stretchEnd)] == style) {
            ++stretchEnd;
        }
        const int left = layout.CellLeft(column - firstColumn);
        const int right = layout.CellLeft(stretchEnd - firstColumn);
        painter.fillRect(QRect(left, y, right - left, layout.lineHeight), line.styles[style].bkg);
        painter.setPen(line.styles[style].text);
        painter.drawText(QPoint(left, y + layout.ascent),
                         line.cells.mid(column, stretchEnd - column));
        column = stretchEnd;
    }
}

void CViewPrinter::PaintFooter(QPainter& painter, const Layout& layout, int page) const {
    const QRect footer(layout.area.left(), layout.area.bottom() + 1 - layout.lineHeight,
                       layout.area.width(), layout.lineHeight);
    painter.setPen(Qt::black);
    painter.drawText(footer, Qt::AlignHCenter | Qt::AlignVCenter,
                     FooterText(page, layout.PageCount()));
}

void CViewPrinter::PaintPage(QPainter& painter, const Layout& layout, int page) const {
    painter.setFont(layout.font);
    const std::size_t begin = static_cast<std::size_t>(page - 1) * layout.rowsPerPage;
    const std::size_t end = std::min(layout.rows.size(), begin + layout.rowsPerPage);
    int cachedLine = -1;
    ExpandedLine line;
    for (std::size_t i = begin; i < end; ++i) {
        const Row& row = layout.rows[i];
        if (row.line != cachedLine) {
            line = Expand(row.line);
            cachedLine = row.line;
        }
        const int y = layout.area.top() + static_cast<int>(i - begin) * layout.lineHeight;
        PaintRow(painter, layout, line, row.firstColumn, y);
    }
    PaintFooter(painter, layout, page);
}

int CViewPrinter::PageCount(const QPaintDevice& device, const QRect& page) const {
    return MakeLayout(device, page).PageCount();
}

bool CViewPrinter::Print(QPrinter& printer) const {
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QRect page = printer.pageLayout().fullRectPixels(printer.resolution());
    const Layout layout = MakeLayout(printer, page);
    int from = 1;
    int to = layout.PageCount();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::max(1, printer.fromPage());
        to = std::min(to, std::max(from, printer.toPage()));
    }
    for (int p = from; p <= to; ++p) {
        if (p > from) printer.newPage();
        PaintPage(painter, layout, p);
    }
    return painter.end();
}

void CViewPrinter::ConnectPreview(QPrintPreviewDialog& preview) const {
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [this](QPrinter* printer) { Print(*printer); });
}

namespace {

QImage BlankPage(QSize size, int dpi) {
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    return image;
}

}  // namespace

QImage CViewPrinter::RenderPage(int page, QSize size, int dpi) const {
    QImage image = BlankPage(size, dpi);
    const Layout layout = MakeLayout(image, image.rect());
    if (page < 1 || page > layout.PageCount()) return image;
    QPainter painter(&image);
    PaintPage(painter, layout, page);
    return image;
}

int CViewPrinter::ImagePageCount(QSize size, int dpi) const {
    // Only the resolution matters for the measures, not the pixels.
    const QImage device = BlankPage(QSize(1, 1), dpi);
    return PageCount(device, QRect(QPoint(0, 0), size.expandedTo(QSize(1, 1))));
}

}  // namespace view
