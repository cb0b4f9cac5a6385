// The application's import and export of filter files.

#include <utility>

#include "app/TarvikApp.h"
#include "filters/FilterFile.h"
#include "filters/FilterFileImport.h"

namespace app {

namespace {

void ShowFailure(core::IUserInterface* ui, const std::u16string& text) {
    if (ui) ui->ShowMessage(text, core::MessageIcon::Exclamation);
}

}  // namespace

bool CTarvikApp::ImportHighlightFilterFile(std::u16string_view path) {
    filters::HighlightFileImport imported;
    if (!filters::ReadHighlightFilterFile(path, imported)) {
        ShowFailure(docContext_.ui, filters::ImportFailedMessage(path));
        return false;
    }
    // Without the dialog's validation, a filter without a phrase would only
    // vanish at the next start.
    std::erase_if(imported.filters, [](const filters::HighlightFilter& filter) {
        return filter.phrase.text.empty();
    });
    std::vector<filters::HighlightFilterEdit> rows =
        filters::MakeHighlightFilterEdits(highlightFilters_);
    bool reload = imported.touchesShowAs;
    if (options_.RemoveAllFiltersBeforeImport) reload |= filters::RemoveAllHighlightRows(rows);
    filters::AppendImportedHighlightRows(rows, std::move(imported));
    ApplyHighlightFilters(std::move(rows), HighlightOptions(), reload);
    return true;
}

bool CTarvikApp::ImportInExFilterFile(std::u16string_view path) {
    std::vector<filters::InExFilterRow> imported;
    if (!filters::ReadInExFilterFile(path, imported)) {
        ShowFailure(docContext_.ui, filters::ImportFailedMessage(path));
        return false;
    }
    std::vector<filters::InExFilter> include;
    std::vector<filters::InExFilter> exclude;
    if (!options_.RemoveAllFiltersBeforeImport) {
        include = inExFilters_.Include();
        exclude = inExFilters_.Exclude();
    }
    for (filters::InExFilterRow& row : imported) {
        if (row.filter.phrase.text.empty()) continue;
        (row.isInclude ? include : exclude).push_back(std::move(row.filter));
    }
    ApplyInExFilters(std::move(include), std::move(exclude));
    return true;
}

bool CTarvikApp::ExportHighlightFilterFile(std::u16string_view path) const {
    if (highlightFilters_.Empty()) return true;
    if (filters::WriteHighlightFilterFile(path, highlightFilters_.Items())) return true;
    ShowFailure(docContext_.ui, filters::ExportFailedMessage(path));
    return false;
}

bool CTarvikApp::ExportInExFilterFile(std::u16string_view path) const {
    std::vector<filters::InExFilterRow> rows;
    for (const filters::InExFilter& filter : inExFilters_.Include()) rows.push_back({filter, true});
    for (const filters::InExFilter& filter : inExFilters_.Exclude())
        rows.push_back({filter, false});
    if (filters::WriteInExFilterFile(path, rows)) return true;
    ShowFailure(docContext_.ui, filters::ExportFailedMessage(path));
    return false;
}

}  // namespace app
