#include "filters/FilterFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "filters/FixedLayoutFilterFile.h"
#include "filters/IniFilterFile.h"
#include "platform/CodePage.h"
#include "platform/File.h"

namespace filters {

namespace {

char16_t LowerAscii(char16_t ch) {
    return ch >= u'A' && ch <= u'Z' ? static_cast<char16_t>(ch + (u'a' - u'A')) : ch;
}

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view lowerPrefix) {
    return text.size() >= lowerPrefix.size() &&
           std::equal(lowerPrefix.begin(), lowerPrefix.end(), text.begin(),
                      [](char16_t p, char16_t t) { return p == LowerAscii(t); });
}

ReadBytesAt FileReader(const platform::CFile& file) {
    return [&file](std::uint64_t offset, void* buffer, std::size_t n) {
        return file.ReadAt(offset, buffer, n);
    };
}

bool WriteWhole(std::u16string_view path, const std::vector<std::uint8_t>& bytes) {
    const std::string name = platform::Utf16ToUtf8(path);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    const bool closed = ::close(fd) == 0;
    return closed && done == bytes.size();
}

template <typename Read>
bool ReadByForm(std::u16string_view path, Read read) {
    platform::CFile file;
    if (!file.OpenForReading(platform::Utf16ToUtf8(path))) return false;
    return read(FileReader(file), IsIniFilterFileName(path));
}

std::u16string Quoted(std::u16string_view lead, std::u16string_view path) {
    std::u16string text(lead);
    text += u'"';
    text += path;
    text += u'"';
    return text;
}

}  // namespace

ReadBytesAt BytesReader(std::span<const std::uint8_t> bytes) {
    return [bytes](std::uint64_t offset, void* buffer, std::size_t n) -> long long {
        if (offset >= bytes.size()) return 0;
        const std::size_t count = std::min<std::uint64_t>(n, bytes.size() - offset);
        std::memcpy(buffer, bytes.data() + offset, count);
        return static_cast<long long>(count);
    };
}

bool IsIniFilterFileName(std::u16string_view path) {
    const std::size_t dot = path.rfind(u'.');
    if (dot == std::u16string_view::npos) return false;
    const std::u16string_view extension = path.substr(dot);
    if (!StartsWithIgnoringCase(extension, u".ini")) return false;
    // ".ini" ends the path, or ends a folder name when the file has no dot.
    return extension.size() == 4 || extension[4] == u'/';
}

bool ReadHighlightFilterFile(std::u16string_view path, HighlightFileImport& out) {
    return ReadByForm(path, [&out](const ReadBytesAt& read, bool ini) {
        if (!ini) return fixed_layout::ReadHighlight(read, out);
        ini_file::ReadHighlight(read, out);
        return true;
    });
}

bool ReadInExFilterFile(std::u16string_view path, std::vector<InExFilterRow>& out, bool* leftOut) {
    return ReadByForm(path, [&out, leftOut](const ReadBytesAt& read, bool ini) {
        if (!ini) return fixed_layout::ReadInEx(read, out, leftOut);
        ini_file::ReadInEx(read, out, leftOut);
        return true;
    });
}

bool WriteHighlightFilterFile(std::u16string_view path, std::span<const HighlightFilter> filters) {
    return WriteWhole(path, ini_file::WriteHighlight(filters));
}

bool WriteInExFilterFile(std::u16string_view path, std::span<const InExFilterRow> rows) {
    return WriteWhole(path, ini_file::WriteInEx(rows));
}

std::u16string LeftOutMessage(std::size_t count) {
    const std::string number = std::to_string(count);
    const std::string limit = std::to_string(kMaxFiltersPerFile);
    std::u16string text(number.begin(), number.end());
    text +=
        u" filters were read from the file; the rest of it was left out, as one file brings "
        u"in at most ";
    text.append(limit.begin(), limit.end());
    text += u" filters.";
    return text;
}

std::u16string ImportFailedMessage(std::u16string_view path) {
    return Quoted(u"Failed to import filters from file ", path);
}

std::u16string ExportFailedMessage(std::u16string_view path) {
    return Quoted(u"Failed to export filters to file ", path);
}

}  // namespace filters
