#include "view/TextSearch.h"

#include <QRegularExpression>
#include <QString>
#include <algorithm>
#include <vector>

namespace view {

namespace {

struct Found {
    int start;
    int end;
};

QRegularExpression PatternOf(const FindRequest& request) {
    QString pattern =
        request.regularExpression ? request.text : QRegularExpression::escape(request.text);
    if (request.wholeWord) pattern = QStringLiteral("\\b(?:%1)\\b").arg(pattern);
    QRegularExpression::PatternOptions options = QRegularExpression::UseUnicodePropertiesOption;
    if (!request.matchCase) options |= QRegularExpression::CaseInsensitiveOption;
    return QRegularExpression(pattern, options);
}

std::vector<Found> MatchesIn(const QRegularExpression& pattern, std::u16string_view text) {
    std::vector<Found> found;
    const QString line = QString::fromRawData(reinterpret_cast<const QChar*>(text.data()),
                                              static_cast<qsizetype>(text.size()));
    auto it = pattern.globalMatch(line);
    while (it.hasNext()) {
        const auto match = it.next();
        if (match.capturedLength() == 0) continue;
        found.push_back(
            {static_cast<int>(match.capturedStart()), static_cast<int>(match.capturedEnd())});
    }
    return found;
}

std::optional<TextMatch> Down(const core::ITextBufferReader& reader,
                              const QRegularExpression& pattern, core::TextPos from) {
    const int count = reader.LineCount();
    for (int step = 0; step <= count; ++step) {
        const int line = (from.line + step) % count;
        for (const Found& f : MatchesIn(pattern, reader.LineText(line))) {
            const bool afterFrom = step > 0 || f.start >= from.ch;
            const bool beforeFrom = step == count && f.start >= from.ch;
            if (afterFrom && !beforeFrom) return TextMatch{{f.start, line}, {f.end, line}};
        }
    }
    return std::nullopt;
}

std::optional<TextMatch> Up(const core::ITextBufferReader& reader,
                            const QRegularExpression& pattern, core::TextPos from) {
    const int count = reader.LineCount();
    for (int step = 0; step <= count; ++step) {
        const int line = ((from.line - step) % count + count) % count;
        auto found = MatchesIn(pattern, reader.LineText(line));
        for (auto it = found.rbegin(); it != found.rend(); ++it) {
            const bool beforeFrom = step > 0 || it->end <= from.ch;
            const bool wrappedPast = step == count && it->end <= from.ch;
            if (beforeFrom && !wrappedPast) return TextMatch{{it->start, line}, {it->end, line}};
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<TextMatch> FindText(const core::ITextBufferReader& reader, const FindRequest& request,
                                  core::TextPos from) {
    if (request.text.isEmpty() || reader.LineCount() <= 0) return std::nullopt;
    const QRegularExpression pattern = PatternOf(request);
    if (!pattern.isValid()) return std::nullopt;
    from.line = std::clamp(from.line, 0, reader.LineCount() - 1);
    return request.down ? Down(reader, pattern, from) : Up(reader, pattern, from);
}

}  // namespace view
