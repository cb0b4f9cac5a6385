#include "RegReport.h"

#include "platform/RegistryNames.h"

namespace tarvik_reg {

int Done(Streams streams) {
    streams.out << "The operation completed successfully.\n";
    return 0;
}

int Cancelled(Streams streams) {
    streams.err << "The operation was cancelled; nothing was changed.\n";
    return 1;
}

int Fail(Streams streams, const std::string& message) {
    streams.err << "ERROR: " << message << '\n';
    return 1;
}

int FailStatus(Streams streams, platform::LSTATUS status) {
    const std::string kNameLimit = std::to_string(platform::registry_names::kMaxKeyNameLength);
    const std::string kDepthLimit = std::to_string(platform::registry_names::kMaxKeyDepth);
    switch (status) {
        case platform::ERROR_FILE_NOT_FOUND:
            return Fail(streams,
                        "The system was unable to find the specified registry key or value.");
        case platform::ERROR_CANTWRITE:
            return Fail(streams, "The settings store " + platform::registry_store::CurrentPath() +
                                     " could not be written.");
        case platform::ERROR_ACCESS_DENIED:
            return Fail(streams, "Access is denied.");
        case platform::ERROR_INVALID_PARAMETER:
            return Fail(streams, "Invalid key name (a key name is longer than " + kNameLimit +
                                     " characters, or the key lies more than " + kDepthLimit +
                                     " levels deep).");
        case platform::ERROR_BADDB:
            return Fail(streams,
                        "The settings store " + platform::registry_store::CurrentPath() +
                            " is damaged: its keys are linked in a loop or lie more than " +
                            kDepthLimit + " levels deep.");
        case platform::ERROR_KEY_DELETED:
            return Fail(streams, "The key was deleted meanwhile.");
        default:
            return Fail(streams,
                        "The operation failed with status " + std::to_string(status) + ".");
    }
}

std::optional<KeyPath> KeyArgument(const std::string& text, Streams streams) {
    auto key = ParseKeyPath(text);
    if (!key) Fail(streams, "Invalid key name \"" + text + "\": it must start with HKCU or HKCR.");
    return key;
}

}  // namespace tarvik_reg
