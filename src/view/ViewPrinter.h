#pragma once
// Prints a range of a buffer's lines with their colour runs: fixed-pitch
// text, tabs expanded, lines too long for the paper continued on the next
// row, and a "Page %d/%d" footer. The same drawing serves a printer, the
// print preview and images.

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <string_view>

#include "core/ITextBufferReader.h"
#include "filters/HighlightRun.h"
#include "view/PageSetup.h"

class QPainter;
class QPaintDevice;
class QPrinter;
class QPrintPreviewDialog;

namespace view {

class CViewPrinter {
public:
    // For a line and the default colours (0x00BBGGRR, passed in and possibly
    // replaced for the whole line), the line's runs sorted by start and not
    // overlapping.
    using ColorRunSource = std::function<filters::HighlightRunList(
        int line, std::uint32_t& textColor, std::uint32_t& bkgColor)>;

    // Black text on white paper.
    static constexpr std::uint32_t kPaperTextColor = 0x00000000;
    static constexpr std::uint32_t kPaperBkgColor = 0x00FFFFFF;
    // The font's pixel sizes are screen pixels at this resolution.
    static constexpr int kScreenDpi = 96;

    // The buffer must outlive the printer; colors may be empty (no runs).
    explicit CViewPrinter(const core::ITextBufferReader& buffer, ColorRunSource colors = {});

    // Lines first to last, 0-based and inclusive; clamped to the buffer when
    // printing. All lines by default.
    void SetLineRange(int first, int last);
    void SetFont(const QFont& font);
    // Sizes outside 1-64 give the default of 4.
    void SetTabSize(int tabSize);
    void SetPageSetup(const PageSetup& setup);
    // A line with runs and the default background gets bkgColor, as on screen.
    void SetHighlightLine(bool on, std::uint32_t bkgColor);

    // Pages needed for a page of the given size (device pixels) on a device.
    int PageCount(const QPaintDevice& device, const QRect& page) const;
    // Prints every page, or the range chosen in the printer. False when the
    // printer cannot be painted on.
    bool Print(QPrinter& printer) const;
    // Lets a preview dialog draw through this printer, which must outlive it.
    void ConnectPreview(QPrintPreviewDialog& preview) const;

    // Page (1-based) of a paper of size pixels at dpi, on white.
    QImage RenderPage(int page, QSize size, int dpi) const;
    int ImagePageCount(QSize size, int dpi) const;

    static QString FooterText(int page, int pageCount);
    // Columns taken by text once tabs are expanded.
    static int ColumnCount(std::u16string_view text, int tabSize);

private:
    struct Row {
        int line = 0;
        int firstColumn = 0;
    };
    struct Layout;
    struct ExpandedLine;

    Layout MakeLayout(const QPaintDevice& device, const QRect& page) const;
    ExpandedLine Expand(int line) const;
    void PaintPage(QPainter& painter, const Layout& layout, int page) const;
    void PaintRow(QPainter& painter, const Layout& layout, const ExpandedLine& line,
                  int firstColumn, int y) const;
    void PaintFooter(QPainter& painter, const Layout& layout, int page) const;

    const core::ITextBufferReader& buffer_;
    ColorRunSource colors_;
    int firstLine_ = 0;
    int lastLine_ = -1;  // -1: to the last line
    QFont font_;
    int tabSize_ = 4;
    PageSetup pageSetup_;
    bool highlightLine_ = false;
    std::uint32_t highlightLineBkg_ = 0x00C0FFFF;
};

}  // namespace view
