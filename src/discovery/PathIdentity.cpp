#include "discovery/PathIdentity.h"

#include "platform/CodePage.h"
#include "platform/File.h"
#include "platform/NormalPath.h"
#include "streams/StreamSources.h"

namespace discovery {

std::u16string NormalPath(std::u16string_view path) {
    return platform::NormalPath(path);
}

std::u16string NormalDocumentName(std::u16string_view name) {
    std::u16string path = NormalPath(name);
    if (!streams::IsStreamSourceName(name)) return path;
    platform::FileIdentity identity;
    if (platform::CFile::IdentityOfPath(platform::Utf16ToUtf8(path), identity)) return path;
    std::u16string error;
    const auto source = streams::CreateStreamSource(name, error);
    return source ? source->Name() : std::u16string(name);
}

}  // namespace discovery
