#include "filters/ui/MatchedLinePrinter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextOption>

#include <cmath>
#include <string>
#include <system_error>
#include <utility>

#include "filters/ActionThrottle.h"
#include "platform/CodePage.h"
#include "platform/DebugOutput.h"
#include "view/FontMapping.h"
#include "view/ViewPrinter.h"

namespace filters_ui {

namespace {

constexpr double kMarginMm = 10.0;
constexpr double kMmPerInch = 25.4;
constexpr int kTabColumns = 8;

void Note(const std::string& text) {
    platform::OutputDebugStringA(std::string(platform::kDebugPrefix) + text);
}

// The font's pixel sizes are the screen's; the printer has more pixels per inch.
QFont PrinterFont(const QFont& font, const QPrinter& printer) {
    QFont scaled = font;
    const int pixels = font.pixelSize() > 0 ? font.pixelSize() : 12;
    scaled.setPixelSize(
        std::max(1, static_cast<int>(std::lround(double(pixels) * printer.logicalDpiY() /
                                                 view::CViewPrinter::kScreenDpi))));
    return scaled;
}

// Lines apart, tabs as blanks up to the next stop of eight columns (the
// printer's own tab stops would be measured in screen pixels).
QString ExpandTabs(const QString& text) {
    QString expanded;
    expanded.reserve(text.size());
    int column = 0;
    for (const QChar ch : text) {
        if (ch == u'\r') continue;
        if (ch == u'\n') {
            expanded += ch;
            column = 0;
        } else if (ch == u'\t') {
            const int blanks = kTabColumns - column % kTabColumns;
            expanded += QString(blanks, u' ');
            column += blanks;
        } else {
            expanded += ch;
            ++column;
        }
    }
    return expanded;
}

void PrintOnDefaultPrinter(const filters::PrintJob& job, const QFont& font,
                           const platform::LocalTime& now) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        Note("No default printer: matched lines of " + platform::Utf16ToUtf8(job.documentPath) +
             " not printed");
        return;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    if (!CMatchedLinePrinter::PrintMatchedLines(job, font, now, printer)) {
        Note("Printing failed on " + info.printerName().toStdString());
    }
}

}  // namespace

CMatchedLinePrinter::CMatchedLinePrinter(const platform::IClock& clock) : clock_(clock) {}

CMatchedLinePrinter::~CMatchedLinePrinter() {
    for (Worker& worker : workers_) worker.thread.join();
}

bool CMatchedLinePrinter::Print(filters::PrintJob job) {
    JoinEndedWorkers();
    if (workers_.size() >= static_cast<std::size_t>(filters::CActionThrottle::kMaxRunning))
        return false;
    // The font is made here, where the font database is at home; the thread
    // gets its own copies of everything.
    QFont font = view::FontFromLogFont(job.font);
    const platform::LocalTime now = clock_.Local();
    auto ended = std::make_shared<std::atomic<bool>>(false);
    Worker& worker = workers_.emplace_back(Worker{{}, ended});
    try {
        worker.thread = std::thread([job = std::move(job), font = std::move(font), now, ended] {
            PrintOnDefaultPrinter(job, font, now);
            ended->store(true);
        });
    } catch (const std::system_error&) {
        // At the thread limit the job is dropped like any other.
        workers_.pop_back();
        return false;
    }
    return true;
}

void CMatchedLinePrinter::JoinEndedWorkers() {
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (!it->ended->load()) {
            ++it;
            continue;
        }
        it->thread.join();
        it = workers_.erase(it);
    }
}

bool CMatchedLinePrinter::PrintMatchedLines(const filters::PrintJob& job, const QFont& font,
                                            const platform::LocalTime& now, QPrinter& printer) {
    const QString path = QString::fromStdU16String(job.documentPath);
    printer.setDocName(path);
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QFont printerFont = PrinterFont(font, printer);
    painter.setFont(printerFont);
    const int h = QFontMetrics(printerFont, &printer).height();

    const int margin = static_cast<int>(std::lround(kMarginMm * printer.resolution() / kMmPerInch));
    const QRect area(0, 0, printer.width(), printer.height());
    const QRect page = area.adjusted(margin, margin, -margin, -margin);

    const QRect header(page.left(), page.top(), page.width(), 2 * h);
    painter.drawText(header, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, path);
    painter.drawText(header, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, HeaderTime(now));
    const int ruleY = page.top() + h + 3;
    painter.drawLine(page.left(), ruleY, page.right(), ruleY);

    const QString text = QString::fromStdU16String(job.text);
    const QRect body(page.left(), page.top() + 2 * h, page.width(),
                     std::max(0, page.bottom() - (page.top() + 2 * h)));
    // One page: what does not fit is cut off.
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WordWrap);
    painter.setClipRect(body);
    painter.drawText(QRectF(body), ExpandTabs(text), option);
    return painter.end();
}

QString CMatchedLinePrinter::HeaderTime(const platform::LocalTime& time) {
    return QStringLiteral("%1/%2/%3 %4:%5:%6")
        .arg(time.month)
        .arg(time.day)
        .arg(time.year)
        .arg(time.hour)
        .arg(time.minute)
        .arg(time.second);
}

}  // namespace filters_ui
