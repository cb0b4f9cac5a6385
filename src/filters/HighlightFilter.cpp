#include "filters/HighlightFilter.h"

#include <algorithm>

#include "filters/AsciiFold.h"

namespace filters {

namespace {

void ReplaceLineBreaksWithSpaces(std::u16string& text) {
    std::replace_if(
        text.begin(), text.end(), [](char16_t ch) { return ch == u'\r' || ch == u'\n'; }, u' ');
}

}  // namespace

void HighlightFilter::SyncNotifiedDocuments() {
    if (!WantsNotifiedDocuments()) {
        notifiedDocuments.reset();
    } else if (!notifiedDocuments) {
        notifiedDocuments.emplace();
    }
}

void HighlightFilter::SetAvailableFile(std::u16string_view path) {
    AvailableFile.assign(path);
    foldedAvailableFile = FoldedAsciiLower(path);
}

void HighlightFilter::Prepare() {
    const std::u16string text = phrase.text;
    phrase.Assign(text, phrase.matchCase, phrase.regularExpression);
    foldedAvailableFile = FoldedAsciiLower(AvailableFile);
    ReplaceLineBreaksWithSpaces(ReplaceText);
    SyncNotifiedDocuments();
}

}  // namespace filters
