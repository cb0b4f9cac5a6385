#pragma once
// A file opened for reading by path, the way a log reader holds it: the
// writer may keep writing, rename or delete it meanwhile. Share modes are
// accepted for the callers' sake and have no effect (Linux has no mandatory
// locks). Offsets are 64-bit; reads are positioned, so there is no file
// pointer to keep in step.

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// Accepted and ignored: on Linux nobody can lock a reader or writer out.
inline constexpr std::uint32_t FILE_SHARE_READ = 0x1;
inline constexpr std::uint32_t FILE_SHARE_WRITE = 0x2;
inline constexpr std::uint32_t FILE_SHARE_DELETE = 0x4;

// Which file a path or handle refers to. Two identities are equal exactly
// when they name the same file; a default identity names none.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    bool IsKnown() const { return device != 0 || inode != 0; }
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

class CFile {
public:
    CFile() = default;
    ~CFile();
    CFile(CFile&& other) noexcept;
    CFile& operator=(CFile&& other) noexcept;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens an existing file read-only (path in UTF-8). Directories, pipes
    // and other non-regular files are refused: they cannot be read by
    // position. Closes any file held before.
    bool OpenForReading(const std::string& path, std::uint32_t shareMode = FILE_SHARE_READ |
                                                                           FILE_SHARE_WRITE |
                                                                           FILE_SHARE_DELETE);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    // Reads up to n bytes at offset. Returns the bytes read (0 at the end of
    // the file, fewer than n when the file ends early) or -1 on failure.
    long long ReadAt(std::uint64_t offset, void* buffer, std::size_t n) const;

    // The size and identity of the open file (not of whatever the path names
    // now). False when the file is not open or the query fails.
    bool Size(std::uint64_t& size) const;
    bool Identity(FileIdentity& identity) const;

    // The same for whatever the path names now; false when nothing is there.
    static bool SizeOfPath(const std::string& path, std::uint64_t& size);
    static bool IdentityOfPath(const std::string& path, FileIdentity& identity);
    // Both from one query of the path.
    static bool SizeAndIdentityOfPath(const std::string& path, std::uint64_t& size,
                                      FileIdentity& identity);

    // Opens the existing file for writing and cuts it to length 0. False when
    // it cannot be opened for writing or cut.
    static bool TruncateToZero(const std::string& path);

private:
    int fd_ = -1;
};

}  // namespace platform
