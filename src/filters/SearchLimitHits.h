#pragma once
// Searches of a filter's expression that gave up at the engine's limits
// count as "not found". A filter that keeps giving up on a document's lines
// silently drops or misses them, so the document counts the give-ups of each
// filter while its new text is searched, and names a filter once it has
// given up often.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace filters {

class CSearchLimitHits {
public:
    // Give-ups of one filter after which it is named.
    static constexpr std::uint32_t kNameAfterHits = 100;

    // The give-ups on this thread count here while the scope lives; the
    // innermost of nested scopes counts.
    class Scope {
    public:
        explicit Scope(CSearchLimitHits& hits);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        CSearchLimitHits* outer_;
    };

    // Names on the debug output each filter that reached kNameAfterHits
    // since the last call, once in the life of the counter.
    void NameNewlyFrequent(std::u16string_view documentName);

    // Counts one give-up of the filter with this phrase.
    void Note(std::u16string_view phrase);

private:
    std::unordered_map<std::u16string, std::uint32_t> hits_;
    std::vector<std::u16string> newlyFrequent_;
};

// A search of phrase gave up: counted by this thread's counter, if any.
void NoteSearchLimitHit(std::u16string_view phrase);

}  // namespace filters
