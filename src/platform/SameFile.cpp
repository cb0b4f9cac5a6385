#include "platform/SameFile.h"

#include <algorithm>

namespace platform {

FileIdentity IdentityOfStat(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

FileIdentity IdentityOfDescriptor(int fd) {
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0) return {};
    return IdentityOfStat(st);
}

bool IsAnyOf(const FileIdentity& identity, std::span<const FileIdentity> files) {
    return identity.IsKnown() && std::find(files.begin(), files.end(), identity) != files.end();
}

}  // namespace platform
