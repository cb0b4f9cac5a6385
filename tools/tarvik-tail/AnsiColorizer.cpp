#include "AnsiColorizer.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "filters/HighlightColorizer.h"

namespace tail {

namespace {

// Stands for the terminal's own colour where the view would use its normal
// colours. Colours have a zero top byte, so no filter colour equals it.
constexpr std::uint32_t kTerminalColor = 0xFF000000;
constexpr std::uint32_t kRgbMask = 0x00FFFFFF;

constexpr const char* kReset = "\x1b[0m";
// Erases to the end of the row in the current background.
constexpr const char* kFillRestOfRow = "\x1b[K";

std::uint32_t UsableColor(std::uint32_t color) {
    return color == kTerminalColor ? color : color & kRgbMask;
}

struct Pen {
    std::uint32_t text = kTerminalColor;
    std::uint32_t bkg = kTerminalColor;
    bool operator==(const Pen&) const = default;
};

// One stretch of the line drawn with one pen; [start, end) in characters.
struct Segment {
    std::size_t start = 0;
    std::size_t end = 0;
    Pen pen;
};

bool IsHighSurrogate(char16_t ch) {
    return ch >= 0xD800 && ch <= 0xDBFF;
}

bool IsLowSurrogate(char16_t ch) {
    return ch >= 0xDC00 && ch <= 0xDFFF;
}

// A boundary never splits a surrogate pair, whose halves would each turn
// into a replacement character: the pair goes with the part before it.
std::size_t CharacterBoundary(std::u16string_view line, std::size_t at) {
    at = std::min(at, line.size());
    if (at > 0 && at < line.size() && IsHighSurrogate(line[at - 1]) && IsLowSurrogate(line[at])) {
        ++at;
    }
    return at;
}

std::size_t RunBoundary(std::u16string_view line, int column) {
    return CharacterBoundary(line, static_cast<std::size_t>(std::max(column, 0)));
}

// The stretches between runs take the line's pen, each run its own.
std::vector<Segment> SplitIntoSegments(std::u16string_view line,
                                       const filters::HighlightRunList& runs, const Pen& linePen) {
    std::vector<Segment> segments;
    std::size_t at = 0;
    for (const filters::HighlightRun& run : runs) {
        const std::size_t start = std::max(RunBoundary(line, run.start), at);
        const std::size_t end = RunBoundary(line, run.End());
        if (end <= start) continue;
        if (start > at) segments.push_back({at, start, linePen});
        segments.push_back(
            {start, end, Pen{UsableColor(run.textColor), UsableColor(run.bkgColor)}});
        at = end;
    }
    if (at < line.size()) segments.push_back({at, line.size(), linePen});
    return segments;
}

void AppendColor(std::string& out, const char* layer, std::uint32_t color) {
    char escape[32];
    std::snprintf(escape, sizeof escape, "\x1b[%s;2;%u;%u;%um", layer, color & 0xFF,
                  (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    out += escape;
}

// Writes only the escapes that change the pen.
class EscapeWriter {
public:
    explicit EscapeWriter(std::string& out) : out_(out) {}

    void Use(const Pen& pen) {
        if (pen == current_) return;
        // Going back to a terminal colour needs a reset, which drops both.
        if ((pen.text == kTerminalColor && current_.text != kTerminalColor) ||
            (pen.bkg == kTerminalColor && current_.bkg != kTerminalColor)) {
            out_ += kReset;
            current_ = Pen{};
        }
        if (pen.text != current_.text) AppendColor(out_, "38", pen.text);
        if (pen.bkg != current_.bkg) AppendColor(out_, "48", pen.bkg);
        current_ = pen;
        coloured_ = true;
    }

    void FillRestOfRow(std::uint32_t bkg) {
        if (bkg == kTerminalColor) return;
        Use(Pen{current_.text, bkg});
        out_ += kFillRestOfRow;
    }

    void Finish() {
        if (coloured_) out_ += kReset;
    }

private:
    std::string& out_;
    Pen current_;
    bool coloured_ = false;
};

}  // namespace

std::string CAnsiColorizer::Paint(std::u16string_view line, std::size_t from, TextForm form) const {
    from = CharacterBoundary(line, from);
    filters::LineColors colors{kTerminalColor, kTerminalColor};
    filters::HighlightRunList runs;
    filters::ColorizeLine(filters_, line, options_, filters::ColorizeMode::Drawing, colors, runs);
    const std::uint32_t lineBkg =
        filters::FinalLineBackground(options_, runs, colors.bkgColor, kTerminalColor);
    const Pen linePen{UsableColor(colors.textColor), UsableColor(lineBkg)};

    std::string out;
    EscapeWriter writer(out);
    for (const Segment& segment : SplitIntoSegments(line, runs, linePen)) {
        if (segment.end <= from) continue;
        const std::size_t start = std::max(segment.start, from);
        writer.Use(segment.pen);
        AppendText(out, line.substr(start, segment.end - start), form);
    }
    writer.FillRestOfRow(filters::RowBlankColor(options_, linePen.bkg, kTerminalColor));
    writer.Finish();
    return out;
}

}  // namespace tail
