#pragma once
// Prints what one document shows, each line once: the lines it holds when
// followed first, then every line once it is complete. Lines are counted
// across trims from the top, and a document that starts over (its file was
// cut or deleted) is printed again from its new start. With a
// colorizer, lines are painted with their highlight colours.

#include <cstdint>
#include <string>
#include <string_view>

#include "AnsiColorizer.h"
#include "TailOutput.h"
#include "core/IDocumentListener.h"
#include "core/TarvikDoc.h"

namespace tail {

class CDocumentPrinter final : public core::IDocumentListener {
public:
    // colorizer may be null (plain text); it must outlive the printer.
    CDocumentPrinter(core::CTarvikDoc& doc, std::string name, CTailOutput& output,
                     const CAnsiColorizer* colorizer = nullptr);
    ~CDocumentPrinter() override;
    CDocumentPrinter(const CDocumentPrinter&) = delete;
    CDocumentPrinter& operator=(const CDocumentPrinter&) = delete;

    // The document's lines as they are now; the last line only when it has
    // text. Followed afterwards, that last line is left open and completed
    // when the rest of it arrives.
    void PrintAll(bool followAfterwards);
    // The lines completed since the last call.
    void PrintCompleted();
    // Ends an open last line, at the end of the run.
    void Finish();

    void BeforeTrim(const core::CTarvikDoc& doc) override;
    void BeforeReset(const core::CTarvikDoc& doc) override;
    void BeforeClose(const core::CTarvikDoc& doc) override;
    // The document closed (the capture failed); nothing more is printed.
    bool DocumentClosed() const { return closed_; }

private:
    void CatchUpWithDocument();
    void PrintLine(std::u16string_view text, bool complete);
    void CloseOpenLine();

    core::CTarvikDoc& doc_;
    std::string name_;
    CTailOutput& output_;
    const CAnsiColorizer* colorizer_;
    std::uint64_t seenResets_;
    // The first line not printed completely, counted from the document's
    // start including the lines trimmed since.
    std::uint64_t nextLine_ = 0;
    // The part of line nextLine_ printed without its line break.
    std::u16string openLine_;
    bool lineOpen_ = false;
    bool closed_ = false;
};

}  // namespace tail
