#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "RegCommands.h"
#include "RegConfirm.h"
#include "RegFileReader.h"
#include "RegFileWriter.h"

namespace tarvik_reg {

namespace {

using platform::DWORD;
using platform::LSTATUS;
using platform::RegKey;

bool FileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// Writes through a private temporary file renamed into place, so a failed
// export never leaves a cut-off file behind.
bool WriteWhole(const std::string& path, const std::string& text, std::string& error) {
    const std::string temporary = path + ".tmp-" + std::to_string(getpid());
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        written += static_cast<std::size_t>(n);
    }
    const bool ok = written == text.size() && fsync(fd) == 0;
    if (!ok) error = std::strerror(errno);
    close(fd);
    if (ok && rename(temporary.c_str(), path.c_str()) == 0) return true;
    if (ok) error = std::strerror(errno);
    unlink(temporary.c_str());
    return false;
}

bool ReadWhole(const std::string& path, std::string& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

LSTATUS Apply(const RegChange& change, RegKey& current) {
    switch (change.kind) {
        case RegChange::Kind::OpenKey:
            return current.Create(change.key.root, change.key.below);
        case RegChange::Kind::DeleteKey: {
            RegKey root;
            LSTATUS status = root.Open(change.key.root, u"");
            if (status == platform::ERROR_SUCCESS) status = root.DeleteTree(change.key.below);
            return status == platform::ERROR_FILE_NOT_FOUND ? platform::ERROR_SUCCESS : status;
        }
        case RegChange::Kind::SetValue:
            return current.SetValue(change.name, change.value.type, change.value.data.data(),
                                    static_cast<DWORD>(change.value.data.size()));
        case RegChange::Kind::DeleteValue: {
            const LSTATUS status = current.DeleteValue(change.name);
            return status == platform::ERROR_FILE_NOT_FOUND ? platform::ERROR_SUCCESS : status;
        }
    }
    return platform::ERROR_INVALID_PARAMETER;
}

}  // namespace

int Export(const Arguments& arguments, Streams streams) {
    const auto path = KeyArgument(arguments.positional[0], streams);
    if (!path) return 1;
    const std::string& file = arguments.positional[1];
    std::string text;
    {
        // One transaction, so the file shows the tree at one moment.
        platform::RegTransaction snapshot;
        if (LSTATUS status = ExportTree(*path, text); status != platform::ERROR_SUCCESS)
            return FailStatus(streams, status);
    }
    if (!arguments.overwrite && FileExists(file) &&
        !Confirm("File " + file + " already exists. Overwrite", streams.in, streams.out))
        return Cancelled(streams);
    std::string error;
    if (!WriteWhole(file, text, error)) return Fail(streams, "Cannot write " + file + ": " + error);
    return Done(streams);
}

int Import(const Arguments& arguments, Streams streams) {
    const std::string& file = arguments.positional[0];
    std::string bytes;
    if (!ReadWhole(file, bytes)) return Fail(streams, "Cannot read " + file + ".");
    std::vector<RegChange> changes;
    std::string error;
    if (!ParseRegFile(bytes, changes, error))
        return Fail(streams, file + ": " + error + "; nothing was imported.");

    platform::RegTransaction group;
    RegKey current;
    LSTATUS status = platform::ERROR_SUCCESS;
    for (const RegChange& change : changes) {
        status = Apply(change, current);
        if (status != platform::ERROR_SUCCESS) break;
    }
    if (status != platform::ERROR_SUCCESS) group.Cancel();
    if (!group.Commit() && status == platform::ERROR_SUCCESS) status = platform::ERROR_CANTWRITE;
    return status == platform::ERROR_SUCCESS ? Done(streams) : FailStatus(streams, status);
}

}  // namespace tarvik_reg
