#pragma once
// Saving what documents show into a file the user named: HTML with the
// highlight colours when the name ends in .htm or .html (in any case),
// UTF-16 text otherwise. Nothing in the documents changes.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/IUserInterface.h"
#include "export/ExportDocument.h"
#include "platform/File.h"

namespace exporting {

enum class SaveFormat { Text, Html };

// By the extension of the file name (from its last dot), compared without
// case. A dot in a folder name is no extension.
SaveFormat FormatOfName(std::u16string_view path);

struct SaveAllOptions {
    bool writeFilePath = true;
    // Line breaks after each document in text; not used in HTML.
    int blankLines = 2;
};

// The files open documents follow, and what their paths name now: none of
// them may be replaced by a save.
std::vector<platform::FileIdentity> FilesOfDocuments(
    std::span<const core::CTarvikDoc* const> documents);

// Each writes the file under the wait cursor and, when the file cannot be
// created or is left incomplete, or is one of openFiles (FilesOfDocuments),
// shows "Failed to save to file "<path>"." with the exclamation icon and
// returns false. ui may be null.
bool SaveDocumentAs(const std::u16string& path, const ExportDocument& doc, const HtmlStyle& style,
                    core::IUserInterface* ui,
                    std::span<const platform::FileIdentity> openFiles = {});
bool SaveDocumentsAs(const std::u16string& path, const std::vector<ExportDocument>& docs,
                     const SaveAllOptions& options, const HtmlStyle& style,
                     core::IUserInterface* ui,
                     std::span<const platform::FileIdentity> openFiles = {});

}  // namespace exporting
