#include "DocumentPrinter.h"

#include <utility>

#include "TerminalText.h"

namespace tail {

CDocumentPrinter::CDocumentPrinter(core::CTarvikDoc& doc, std::string name, CTailOutput& output,
                                   const CAnsiColorizer* colorizer)
    : doc_(doc),
      name_(std::move(name)),
      output_(output),
      colorizer_(colorizer),
      seenResets_(doc.ResetCount()),
      nextLine_(doc.TrimmedLineCount()) {
    doc_.SetListener(this);
}

CDocumentPrinter::~CDocumentPrinter() {
    if (!closed_) doc_.SetListener(nullptr);
}

void CDocumentPrinter::BeforeClose(const core::CTarvikDoc& /*doc*/) {
    CloseOpenLine();
    closed_ = true;
}

void CDocumentPrinter::PrintAll(bool followAfterwards) {
    PrintCompleted();
    const core::CCrystalTextBuffer& buffer = doc_.Buffer();
    const int last = buffer.LineCount() - 1;
    if (last < 0 || buffer.LineLength(last) == 0) return;
    PrintLine(buffer.LineText(last), !followAfterwards);
    if (!followAfterwards) ++nextLine_;
}

void CDocumentPrinter::PrintCompleted() {
    if (closed_) return;
    CatchUpWithDocument();
    const core::CCrystalTextBuffer& buffer = doc_.Buffer();
    const std::uint64_t trimmed = doc_.TrimmedLineCount();
    const int count = buffer.LineCount();
    if (count == 0) return;
    // Every line but the last has its line break.
    const std::uint64_t completeEnd = trimmed + static_cast<std::uint64_t>(count - 1);
    for (; nextLine_ < completeEnd; ++nextLine_) {
        PrintLine(buffer.LineText(static_cast<int>(nextLine_ - trimmed)), true);
    }
}

void CDocumentPrinter::Finish() {
    if (lineOpen_) {
        output_.Begin(name_);
        output_.Write("\n");
    }
    lineOpen_ = false;
    openLine_.clear();
}

// Lines about to be trimmed have been printed already unless one poll
// brought more than the limit: they are taken now.
void CDocumentPrinter::BeforeTrim(const core::CTarvikDoc& /*doc*/) {
    PrintCompleted();
}

// The document starts over: its last line will never be completed, so it is
// printed as it stands.
void CDocumentPrinter::BeforeReset(const core::CTarvikDoc& /*doc*/) {
    PrintCompleted();
    const core::CCrystalTextBuffer& buffer = doc_.Buffer();
    const int last = buffer.LineCount() - 1;
    if (last >= 0 && buffer.LineLength(last) > 0) PrintLine(buffer.LineText(last), true);
    CloseOpenLine();
}

void CDocumentPrinter::CatchUpWithDocument() {
    if (doc_.ResetCount() != seenResets_) {
        seenResets_ = doc_.ResetCount();
        CloseOpenLine();
        nextLine_ = doc_.TrimmedLineCount();
    }
    if (nextLine_ < doc_.TrimmedLineCount()) {
        CloseOpenLine();
        nextLine_ = doc_.TrimmedLineCount();
    }
}

void CDocumentPrinter::PrintLine(std::u16string_view text, bool complete) {
    output_.Begin(name_);
    std::size_t from = 0;
    if (lineOpen_) {
        // The rest of the line printed before; a line that changed meanwhile
        // (filters hid or replaced it) starts on a line of its own.
        if (text.starts_with(openLine_)) {
            from = openLine_.size();
        } else {
            output_.Write("\n");
        }
        lineOpen_ = false;
        openLine_.clear();
    }
    if (colorizer_) {
        // The colours of a line depend on all of it, so the colorizer sees
        // the whole line even when only its rest is printed.
        output_.Write(colorizer_->Paint(text, from, output_.Form()));
    } else {
        output_.WriteText(text.substr(from));
    }
    if (complete) {
        output_.Write("\n");
    } else {
        openLine_.assign(text);
        lineOpen_ = true;
    }
}

void CDocumentPrinter::CloseOpenLine() {
    if (!lineOpen_) return;
    output_.Begin(name_);
    output_.Write("\n");
    lineOpen_ = false;
    openLine_.clear();
}

}  // namespace tail
