#include "streams/StreamSources.h"

#include "streams/JournalQuery.h"
#include "streams/JournalSource.h"

namespace streams {

bool IsStreamSourceName(std::u16string_view name) {
    return IsJournalName(name);
}

std::unique_ptr<IStreamSource> CreateStreamSource(std::u16string_view name, std::u16string& error) {
    error.clear();
    if (!IsJournalName(name)) return nullptr;
    JournalQuery query;
    if (!ParseJournalName(name, query, error)) return nullptr;
    return std::make_unique<CJournalSource>(std::move(query));
}

}  // namespace streams
