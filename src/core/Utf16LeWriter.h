#pragma once
// Writes UTF-16 text to an open file descriptor as little-endian bytes (or
// bytes as they are, for 8-bit text), through a staging buffer. Every write is checked and short
// writes are continued; once a write fails the writer stays failed.

#include <cstddef>
#include <string_view>
#include <vector>

namespace core {

class CUtf16LeWriter {
public:
    explicit CUtf16LeWriter(int fd);

    void Append(std::u16string_view text);
    // Bytes written unchanged.
    void AppendBytes(std::string_view bytes);
    // Writes what is staged; false when any write so far has failed.
    bool Flush();
    bool Failed() const { return failed_; }

private:
    static constexpr std::size_t kStagingBytes = 64 * 1024;

    bool WriteAll(const unsigned char* data, std::size_t size);

    int fd_;
    std::vector<unsigned char> staging_;
    bool failed_ = false;
};

}  // namespace core
