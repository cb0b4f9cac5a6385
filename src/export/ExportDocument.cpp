#include "export/ExportDocument.h"

#include "capture/CaptureTitle.h"
#include "core/TarvikDoc.h"

#include <utility>

namespace exporting {

std::u16string ExportDocument::ListName() const {
    return capture ? std::u16string(capture::kCaptureDocumentName) : path;
}

ExportDocument DocumentToExport(const core::CTarvikDoc& doc, LineColorizer colorize) {
    ExportDocument exported;
    exported.buffer = &doc.Buffer();
    exported.capture = doc.IsCaptureMode();
    if (!exported.capture) exported.path = doc.GetPathName();
    exported.colorize = std::move(colorize);
    return exported;
}

}  // namespace exporting
