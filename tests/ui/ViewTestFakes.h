#pragma once
// What the log view tests share: a colour provider that colours every
// occurrence of one phrase, a buffer filled from lines, and a view with a
// fixed palette so pixels can be checked.

#include <QPalette>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>

#include "core/CrystalTextBuffer.h"
#include "settings/Options.h"
#include "view/ILineColorProvider.h"
#include "view/TarvikView.h"

namespace core {
// Readable positions in failed comparisons.
inline char* toString(const TextPos& pos) {
    return qstrdup(
        QStringLiteral("(ch %1, line %2)").arg(pos.ch).arg(pos.line).toUtf8().constData());
}
}  // namespace core

namespace viewtest {

inline constexpr std::uint32_t kPhraseText = 0x0000FF;  // red
inline constexpr std::uint32_t kPhraseBkg = 0x00FF00;   // green

class PhraseColorProvider : public view::ILineColorProvider {
public:
    PhraseColorProvider(std::u16string phrase, const settings::Options& options)
        : phrase_(std::move(phrase)), options_(options) {}

    void GetLineColors(std::u16string_view text, filters::ColorizeMode, filters::LineColors&,
                       filters::HighlightRunList& runs) const override {
        if (phrase_.empty()) return;
        for (auto at = text.find(phrase_); at != std::u16string_view::npos;
             at = text.find(phrase_, at + phrase_.size())) {
            filters::AddHighlightRun(runs, {static_cast<int>(at), static_cast<int>(phrase_.size()),
                                            kPhraseText, kPhraseBkg});
        }
    }
    bool HasHighlightFilters() const override { return !phrase_.empty(); }
    filters::HighlightOptions Options() const override {
        filters::HighlightOptions highlight;
        highlight.HighlightLine = options_.HighlightLine;
        highlight.HLLineBkgColor = options_.HLLineBkgColor;
        highlight.FillLineBlankInBkgColor = options_.FillLineBlankInBkgColor;
        return highlight;
    }

private:
    std::u16string phrase_;
    const settings::Options& options_;
};

inline void Fill(core::CCrystalTextBuffer& buffer, const QStringList& lines) {
    buffer.ResetEmpty();
    core::TextPos end;
    buffer.InsertTextAt(nullptr, {}, lines.join(QStringLiteral("\r\n")).toStdU16String(), end, 0,
                        false);
}

inline void Append(core::CCrystalTextBuffer& buffer, const QString& text) {
    const int last = buffer.LineCount() - 1;
    core::TextPos end;
    buffer.InsertTextAt(nullptr, {buffer.LineLength(last), last}, text.toStdU16String(), end, 0,
                        false);
}

inline QPalette FixedPalette() {
    QPalette palette;
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Button, QColor(0xC0, 0xC0, 0xC0));
    return palette;
}

// A view of buffer, 640 x 400 pixels of text area, with the fixed palette.
inline std::unique_ptr<view::CTarvikView> MakeView(const settings::Options& options,
                                                   core::CCrystalTextBuffer& buffer,
                                                   const view::ILineColorProvider* colors) {
    auto v = std::make_unique<view::CTarvikView>(options);
    v->setPalette(FixedPalette());
    v->viewport()->setPalette(FixedPalette());
    v->AttachBuffer(&buffer);
    v->SetColorProvider(colors);
    v->resize(660, 420);
    v->show();
    return v;
}

}  // namespace viewtest
