#include "filters/SearchLimitHits.h"

#include <utility>

#include "platform/CodePage.h"
#include "platform/DebugOutput.h"

namespace filters {

namespace {
thread_local CSearchLimitHits* current = nullptr;
}  // namespace

CSearchLimitHits::Scope::Scope(CSearchLimitHits& hits) : outer_(current) {
    current = &hits;
}

CSearchLimitHits::Scope::~Scope() {
    current = outer_;
}

void CSearchLimitHits::Note(std::u16string_view phrase) {
    // Counting stops at the mark, so each filter is named once.
    std::uint32_t& count = hits_[std::u16string(phrase)];
    if (count >= kNameAfterHits) return;
    if (++count == kNameAfterHits) newlyFrequent_.emplace_back(phrase);
}

void CSearchLimitHits::NameNewlyFrequent(std::u16string_view documentName) {
    for (const std::u16string& phrase : std::exchange(newlyFrequent_, {})) {
        platform::OutputDebugStringW(
            platform::Utf8ToUtf16(platform::kDebugPrefix) + u"The filter \"" + phrase +
            u"\" keeps hitting the match limit in " + std::u16string(documentName) +
            u"; the lines it gives up on count as not matching.\n");
    }
}

void NoteSearchLimitHit(std::u16string_view phrase) {
    if (current != nullptr) current->Note(phrase);
}

}  // namespace filters
