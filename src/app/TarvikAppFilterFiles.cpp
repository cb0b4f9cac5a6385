// The application's import and export of filter files.

#include <iterator>
#include <utility>

#include "app/TarvikApp.h"
#include "filters/FilterFile.h"
#include "filters/FilterFileImport.h"
#include "filters/InExFilterRows.h"

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
    std::erase_if(imported, [](const filters::InExFilterRow& row) { return row.text.empty(); });
    filters::InExFilterLists lists = filters::SplitInExFilterRows(imported);
    std::move(lists.include.begin(), lists.include.end(), std::back_inserter(include));
    std::move(lists.exclude.begin(), lists.exclude.end(), std::back_inserter(exclude));
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
    const std::vector<filters::InExFilterRow> rows = filters::MakeInExFilterRows(inExFilters_);
    if (filters::WriteInExFilterFile(path, rows)) return true;
    ShowFailure(docContext_.ui, filters::ExportFailedMessage(path));
    return false;
}

}  // namespace app
