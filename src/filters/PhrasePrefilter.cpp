#include "filters/PhrasePrefilter.h"

#include <algorithm>
#include <optional>
#include <string>

#include "filters/AsciiNarrow.h"
#include "filters/AsciiPrefilterPattern.h"

#if defined(TARVIK_HAVE_VECTORSCAN)
#include <hs.h>

#include <atomic>
#include <cstdint>
#endif

namespace filters {

#if defined(TARVIK_HAVE_VECTORSCAN)

namespace {

// Every database gets its own number, so that a thread's scratch can tell
// which databases it has already been made large enough for.
std::uint64_t NextSerial() {
    static std::atomic<std::uint64_t> serial{0};
    return ++serial;
}

struct Entry {
    std::size_t phrase;
    PrefilterPattern pattern;
};

}  // namespace

struct PhrasePrefilter::Database {
    hs_database_t* database = nullptr;
    std::uint64_t serial = NextSerial();
    // The phrase index of each pattern id.
    std::vector<std::size_t> phraseOf;

    ~Database() { hs_free_database(database); }
};

namespace {

// Reports each pattern once and accepts the empty matches the phrase search
// never counts: a candidate too many is only a confirmation more. The
// prefilter mode takes constructs the engine cannot match exactly as a
// wider pattern.
unsigned FlagsOf(const PrefilterPattern& pattern) {
    return HS_FLAG_SINGLEMATCH | HS_FLAG_ALLOWEMPTY | HS_FLAG_PREFILTER |
           (pattern.caseless ? HS_FLAG_CASELESS : 0u);
}

// Compiles the entries; one the engine refuses is dropped (its phrase stays
// uncovered) and the rest compiled again.
hs_database_t* CompileEntries(std::vector<Entry>& entries) {
    while (!entries.empty()) {
        std::vector<const char*> expressions;
        std::vector<unsigned> flags;
        std::vector<unsigned> ids;
        for (std::size_t id = 0; id < entries.size(); ++id) {
            expressions.push_back(entries[id].pattern.expression.c_str());
            flags.push_back(FlagsOf(entries[id].pattern));
            ids.push_back(static_cast<unsigned>(id));
        }
        hs_database_t* database = nullptr;
        hs_compile_error_t* error = nullptr;
        const hs_error_t rc = hs_compile_multi(expressions.data(), flags.data(), ids.data(),
                                               static_cast<unsigned>(entries.size()), HS_MODE_BLOCK,
                                               nullptr, &database, &error);
        if (rc == HS_SUCCESS) return database;
        const int refused = error != nullptr ? error->expression : -1;
        hs_free_compile_error(error);
        if (refused < 0 || static_cast<std::size_t>(refused) >= entries.size()) return nullptr;
        entries.erase(entries.begin() + refused);
    }
    return nullptr;
}

// The scratch of one thread, grown for each database it scans.
class ThreadScratch {
public:
    ~ThreadScratch() { hs_free_scratch(scratch_); }

    hs_scratch_t* For(const hs_database_t* database, std::uint64_t serial) {
        if (std::find(ready_.begin(), ready_.end(), serial) != ready_.end()) return scratch_;
        if (hs_alloc_scratch(database, &scratch_) != HS_SUCCESS) return nullptr;
        // A scratch only ever grows, so it stays large enough for every
        // database noted; the list is only a cache of that.
        if (ready_.size() >= kRemembered) ready_.clear();
        ready_.push_back(serial);
        return scratch_;
    }

    std::string& Narrowed() { return narrowed_; }

private:
    static constexpr std::size_t kRemembered = 8;
    hs_scratch_t* scratch_ = nullptr;
    std::vector<std::uint64_t> ready_;
    std::string narrowed_;
};

ThreadScratch& Scratch() {
    thread_local ThreadScratch scratch;
    return scratch;
}

struct ScanContext {
    const std::vector<std::size_t>* phraseOf;
    bool (*callback)(void*, std::size_t);
    void* context;
};

int OnMatch(unsigned id, unsigned long long, unsigned long long, unsigned, void* context) {
    const ScanContext& scan = *static_cast<ScanContext*>(context);
    return scan.callback(scan.context, (*scan.phraseOf)[id]) ? 1 : 0;
}

}  // namespace

bool PhrasePrefilter::Available() {
    static const bool available = hs_valid_platform() == HS_SUCCESS;
    return available;
}

PhrasePrefilter::PhrasePrefilter(const std::vector<const FilterPhrase*>& phrases)
    : covered_(phrases.size(), 0) {
    if (!Available()) return;
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < phrases.size(); ++i) {
        std::optional<PrefilterPattern> pattern = AsciiPrefilterPattern(*phrases[i]);
        if (pattern) entries.push_back({i, std::move(*pattern)});
    }
    hs_database_t* compiled = CompileEntries(entries);
    if (compiled == nullptr) return;
    auto database = std::make_shared<Database>();
    database->database = compiled;
    for (const Entry& entry : entries) {
        database->phraseOf.push_back(entry.phrase);
        covered_[entry.phrase] = 1;
    }
    coveredCount_ = entries.size();
    database_ = std::move(database);
}

PhrasePrefilter::Scan PhrasePrefilter::ScanWith(std::u16string_view line, Callback callback,
                                                void* context) const {
    if (database_ == nullptr) return Scan::NotAscii;
    ThreadScratch& thread = Scratch();
    std::string& narrowed = thread.Narrowed();
    if (!NarrowAscii(line, narrowed)) return Scan::NotAscii;
    hs_scratch_t* scratch = thread.For(database_->database, database_->serial);
    if (scratch == nullptr) return Scan::NotAscii;
    ScanContext scan{&database_->phraseOf, callback, context};
    const hs_error_t rc =
        hs_scan(database_->database, narrowed.data(), static_cast<unsigned>(narrowed.size()), 0,
                scratch, OnMatch, &scan);
    if (rc == HS_SCAN_TERMINATED) return Scan::Stopped;
    return rc == HS_SUCCESS ? Scan::Finished : Scan::NotAscii;
}

#else  // without the multi-pattern engine nothing is covered

struct PhrasePrefilter::Database {};

bool PhrasePrefilter::Available() {
    return false;
}

PhrasePrefilter::PhrasePrefilter(const std::vector<const FilterPhrase*>& phrases)
    : covered_(phrases.size(), 0) {}

PhrasePrefilter::Scan PhrasePrefilter::ScanWith(std::u16string_view, Callback, void*) const {
    return Scan::NotAscii;
}

#endif

void PhrasePrefilter::MarkCandidates(std::u16string_view line, std::vector<char>& maybe) const {
    maybe.assign(covered_.size(), 1);
    if (coveredCount_ == 0) return;
    // Covered phrases start as "no" and are marked by the scan; a line the
    // scan cannot take leaves every phrase a candidate.
    for (std::size_t i = 0; i < covered_.size(); ++i) maybe[i] = covered_[i] ? 0 : 1;
    auto mark = [&maybe](std::size_t i) {
        maybe[i] = 1;
        return false;
    };
    if (ScanLine(line, mark) == Scan::NotAscii) maybe.assign(covered_.size(), 1);
}

}  // namespace filters
