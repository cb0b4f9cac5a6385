#include "platform/RegistryFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace platform::registry_files {

namespace {

const char* const kCompanions[] = {"-wal", "-shm", "-journal"};

bool Exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

std::string Timestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

// A name not used yet, so an earlier damaged copy is never overwritten.
std::string FreeDamagedName(const std::string& path) {
    const std::string base = path + ".damaged-" + Timestamp();
    std::string candidate = base;
    for (int n = 1; Exists(candidate) && n < 1000; ++n) candidate = base + "-" + std::to_string(n);
    return candidate;
}

}  // namespace

bool EnsureParentFolder(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0) return true;
    const std::string folder = path.substr(0, slash);
    struct stat st;
    if (stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    if (!EnsureParentFolder(folder)) return false;
    return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool CreatePrivateFile(const std::string& path) {
    if (Exists(path)) return true;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    close(fd);
    return true;
}

void RestrictModes(const std::string& path) {
    chmod(path.c_str(), 0600);
    for (const char* suffix : kCompanions) {
        const std::string companion = path + suffix;
        if (Exists(companion)) chmod(companion.c_str(), 0600);
    }
}

std::string MoveAside(const std::string& path) {
    const std::string target = FreeDamagedName(path);
    if (rename(path.c_str(), target.c_str()) != 0) return {};
    for (const char* suffix : kCompanions) {
        const std::string companion = path + suffix;
        if (Exists(companion)) rename(companion.c_str(), (target + suffix).c_str());
    }
    return target;
}

}  // namespace platform::registry_files
