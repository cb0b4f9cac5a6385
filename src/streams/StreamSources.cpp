#include "streams/StreamSources.h"

#include "settings/CommandDocumentStore.h"
#include "streams/CommandSource.h"
#include "streams/JournalQuery.h"
#include "streams/JournalSource.h"
#include "streams/RemoteSource.h"

namespace streams {

bool IsStreamSourceName(std::u16string_view name) {
    return IsJournalName(name) || name.starts_with(kCommandPrefix) || IsRemoteName(name);
}

std::unique_ptr<IStreamSource> CreateStreamSource(std::u16string_view name, std::u16string& error) {
    error.clear();
    if (name.starts_with(kCommandPrefix)) {
        std::u16string commandLine(name.substr(kCommandPrefix.size()));
        if (commandLine.find_first_not_of(u" \t") == std::u16string::npos) {
            error = u"The command is empty.";
            return nullptr;
        }
        settings::CommandDocumentChoice choice = settings::CommandDocumentStore::Load(name);
        return std::make_unique<CCommandSource>(std::move(commandLine), std::move(choice));
    }
    if (IsRemoteName(name)) {
        RemoteQuery query;
        if (!ParseRemoteName(name, query, error)) return nullptr;
        return std::make_unique<CRemoteSource>(std::move(query));
    }
    if (!IsJournalName(name)) return nullptr;
    JournalQuery query;
    if (!ParseJournalName(name, query, error)) return nullptr;
    return std::make_unique<CJournalSource>(std::move(query));
}

}  // namespace streams
