#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

// The largest .reg file read: far more than any settings tree needs.
constexpr off_t kMaxImportBytes = off_t{64} << 20;

bool WriteAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes through a private temporary file renamed into place, so a failed
// export never leaves a cut-off file behind. The temporary gets a fresh name
// in the target's folder and is created exclusively, so a link planted
// under a guessable name cannot redirect the export (which may hold the
// mail password) to another file.
bool WriteWhole(const std::string& path, const std::string& text, std::string& error) {
    std::string temporary = path + ".tmp-XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    const bool ok = fchmod(fd, 0600) == 0 && WriteAll(fd, text) && fsync(fd) == 0;
    if (!ok) error = std::strerror(errno);
    close(fd);
    if (ok && rename(temporary.c_str(), path.c_str()) == 0) return true;
    if (ok) error = std::strerror(errno);
    unlink(temporary.c_str());
    return false;
}

// Reads a regular file of at most kMaxImportBytes. A FIFO or device is
// refused without reading from it (it might never end).
bool ReadWhole(const std::string& path, std::string& bytes, std::string& error) {
    const std::string tooLarge =
        "it is larger than " + std::to_string(kMaxImportBytes >> 20) + " MiB";
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) error = "it is not a regular file";
    if (error.empty() && st.st_size > kMaxImportBytes) error = tooLarge;
    // The file may grow while it is read, so the limit holds for what is read.
    char chunk[65536];
    while (error.empty()) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = std::strerror(errno);
        if (n <= 0) break;
        bytes.append(chunk, static_cast<std::size_t>(n));
        if (bytes.size() > static_cast<std::size_t>(kMaxImportBytes)) error = tooLarge;
    }
    close(fd);
    return error.empty();
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
    std::string error;
    if (!ReadWhole(file, bytes, error))
        return Fail(streams, "Cannot read " + file + ": " + error + "; nothing was imported.");
    std::vector<RegChange> changes;
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
