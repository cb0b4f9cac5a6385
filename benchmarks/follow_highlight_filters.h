#pragma once
// The filters of the follow benchmark: ten highlight filters of every kind
// (plain with case, caseless, expressions, entire-line), two of them "Show
// as", and the ten patterns of patterns.txt as exclude filters, written to a
// settings store for the application to load.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "LogGenerator.h"
#include "filters/HighlightFilterStore.h"
#include "filters/HighlightFilters.h"
#include "filters/InExFilterList.h"
#include "highlight_bench_filters.h"
#include "matcher_corpus.h"
#include "platform/Registry.h"

namespace bench {

// The two "Show as" phrases occur in lines the exclude filters keep.
inline constexpr std::u16string_view kShownClient = u"client=<host>";
inline constexpr std::u16string_view kShownTrace = u"trace=<id>";

inline std::vector<filters::HighlightFilter> TenHighlightFilters() {
    return {
        MakeFilter(u"ERROR", true, false, false, 0x0000FF),
        MakeFilter(u"Exception", true, false, false, 0x0040C0),
        MakeFilter(u"timeout", false, false, false, 0x00C0C0),
        MakeFilter(u"warn", false, false, false, 0x00A0FF),
        MakeFilter(u"status=5\\d\\d", false, true, false, 0x2020FF),
        MakeFilter(u"user=(alice|bob)\\d+", true, true, false, 0xFF8000),
        MakeFilter(u"outofmemoryerror", false, false, true, 0xFFFFFF),
        MakeFilter(u"disk usage at 9\\d%", false, true, true, 0x00FFFF),
        ShowAs(u"client=10.0.0.17", false, kShownClient),
        ShowAs(u"trace=[0-9a-f]{8}", true, kShownTrace),
    };
}

inline std::vector<filters::InExFilter> TenExcludeFilters() {
    std::vector<filters::InExFilter> exclude;
    for (const std::string& pattern : bench::LoadPatterns()) {
        filters::InExFilter filter;
        filter.phrase.Assign(bench::LogGenerator::Widen(pattern), true, true);
        exclude.push_back(std::move(filter));
    }
    return exclude;
}

// A settings store of its own, holding the filters the application loads at
// start-up as it always does.
inline bool PrepareFilterStore(const std::string& path, bool withHighlightFilters,
                               bool withExcludeFilters = true) {
    platform::registry_store::UsePath(path);
    filters::CHighlightFilters highlight;
    if (withHighlightFilters) highlight.Replace(TenHighlightFilters());
    filters::CInExFilters inEx;
    if (withExcludeFilters) inEx.Replace({}, TenExcludeFilters());
    return filters::SaveHighlightFilters(highlight) && inEx.Save();
}

}  // namespace bench
