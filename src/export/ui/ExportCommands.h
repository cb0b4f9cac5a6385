#pragma once
// Save As of one document and Save All As of several: the dialogs, then the
// export of what the documents' views show.
//
// The dialogs run their own event loops, in which a document may close; so
// documents are named by pointer and looked up again, through viewOf, once
// the dialogs are done. A document no longer open is left out.

#include <functional>
#include <vector>

#include "core/IUserInterface.h"
#include "export/ExportDocument.h"
#include "settings/Options.h"

class QWidget;

namespace core {
class CTarvikDoc;
}

namespace view {
class CTarvikView;
}

namespace exporting_ui {

// The view of a document that is still open, or null. Must not dereference
// doc before it found it among the open documents.
using ViewOfDocument = std::function<const view::CTarvikView*(const core::CTarvikDoc* doc)>;

// What the view shows of its document, coloured as the view colours it.
exporting::ExportDocument ExportOfView(const view::CTarvikView& view);
// The view's colours and font, for a page.
exporting::HtmlStyle HtmlStyleOfView(const view::CTarvikView& view);

// Asks for a file and saves the document into it; never into a file one of
// the open documents follows.
void SaveDocumentAs(QWidget* parent, const core::CTarvikDoc* doc,
                    const std::vector<const core::CTarvikDoc*>& openDocs,
                    const ViewOfDocument& viewOf, core::IUserInterface* ui);

// Lets the user order and choose among docs (every open document, in
// document order), stores the two options and saves their group, asks for a
// file and saves the chosen documents into it, never into a file one of docs
// follows. Nothing without a document.
void SaveDocumentsAs(QWidget* parent, const std::vector<const core::CTarvikDoc*>& docs,
                     const ViewOfDocument& viewOf, settings::Options& options,
                     core::IUserInterface* ui);

}  // namespace exporting_ui
