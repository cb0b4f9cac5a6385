#include "filters/FixedLayoutFilterFile.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "filters/AsciiFold.h"
#include "filters/LegacyHighlightFilterRecord.h"
#include "platform/CodePage.h"

namespace filters::fixed_layout {

namespace {

constexpr std::uint32_t kVersion = 1;
constexpr std::uint32_t kFormNarrow = 0;
constexpr std::uint32_t kFormWide = 1;
constexpr std::uint32_t kTypeInclude = 1;
constexpr std::size_t kPhraseChars = 260;

std::uint32_t GetUint32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

void PutUint32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

struct Header {
    std::uint32_t form = 0;
    std::uint32_t count = 0;
};

bool ReadHeader(const ReadBytesAt& read, std::string_view magic, Header& header) {
    std::array<std::uint8_t, kHeaderSize> bytes{};
    if (read(0, bytes.data(), bytes.size()) != static_cast<long long>(bytes.size())) return false;
    if (!std::equal(magic.begin(), magic.end(), bytes.begin())) return false;
    if (GetUint32(&bytes[4]) != kVersion) return false;
    header.form = GetUint32(&bytes[8]);
    header.count = GetUint32(&bytes[12]);
    return header.count >= 1;
}

// Calls take(record) for each whole record up to count (and the most one
// file brings in); stops at the first one the file does not hold whole.
// True when the most one file brings in were taken and the file holds more.
template <typename Take>
bool ForEachRecord(const ReadBytesAt& read, std::uint32_t count, std::size_t size, Take take) {
    std::vector<std::uint8_t> record(size);
    std::uint64_t offset = kHeaderSize;
    const std::size_t limit = std::min<std::size_t>(count, kMaxFiltersPerFile);
    for (std::size_t i = 0; i < limit; ++i, offset += size) {
        if (read(offset, record.data(), size) != static_cast<long long>(size)) return false;
        take(std::span<const std::uint8_t>(record));
    }
    return count > limit && read(offset, record.data(), size) == static_cast<long long>(size);
}

std::u16string WidePhrase(std::span<const std::uint8_t> field) {
    std::u16string text;
    for (std::size_t at = 0; at + 1 < field.size(); at += 2) {
        const auto ch = static_cast<char16_t>(field[at] | (field[at + 1] << 8));
        if (ch == u'\0') break;
        text.push_back(ch);
    }
    return text;
}

std::u16string NarrowPhrase(std::span<const std::uint8_t> field) {
    const auto end = std::find(field.begin(), field.end(), 0);
    return platform::Utf8ToUtf16(std::string(field.begin(), end));
}

void PutHeader(std::vector<std::uint8_t>& bytes, std::string_view magic, std::uint32_t form,
               std::size_t count) {
    bytes.insert(bytes.end(), magic.begin(), magic.end());
    PutUint32(bytes, kVersion);
    PutUint32(bytes, form);
    PutUint32(bytes, static_cast<std::uint32_t>(count));
    bytes.resize(kHeaderSize, 0);
}

}  // namespace

bool ReadHighlight(const ReadBytesAt& read, HighlightFileImport& out) {
    Header header;
    if (!ReadHeader(read, "HLFF", header) || header.form != kFormWide) return false;
    out.leftOut |=
        ForEachRecord(read, header.count, LegacyHighlightFilterRecord::kSize,
                      [&out](std::span<const std::uint8_t> record) {
                          out.filters.push_back(LegacyHighlightFilterRecord::Decode(record));
                      });
    return true;
}

bool ReadInEx(const ReadBytesAt& read, std::vector<InExFilterRow>& out, bool* leftOut) {
    Header header;
    if (!ReadHeader(read, "IEFF", header)) return false;
    if (header.form != kFormWide && header.form != kFormNarrow) return true;
    const bool wide = header.form == kFormWide;
    const bool cut =
        ForEachRecord(read, header.count, wide ? kInExRecordSizeWide : kInExRecordSizeNarrow,
                      [&out, wide](std::span<const std::uint8_t> record) {
                          InExFilterRow row;
                          const std::u16string phrase = wide ? WidePhrase(record.subspan(4))
                                                             : NarrowPhrase(record.subspan(4));
                          const bool expression = phrase.find(u'*') != std::u16string::npos;
                          row.text = phrase;
                          row.regularExpression = expression;
                          row.include = GetUint32(record.data()) == kTypeInclude;
                          out.push_back(std::move(row));
                      });
    if (leftOut) *leftOut |= cut;
    return true;
}

std::vector<std::uint8_t> WriteHighlight(std::span<const HighlightFilter> filters) {
    std::vector<std::uint8_t> bytes;
    PutHeader(bytes, "HLFF", kFormWide, filters.size());
    for (const HighlightFilter& filter : filters) {
        const std::vector<std::uint8_t> record = LegacyHighlightFilterRecord::Encode(filter);
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

std::vector<std::uint8_t> WriteInEx(std::span<const InExFilterRow> rows, bool wide) {
    std::vector<std::uint8_t> bytes;
    PutHeader(bytes, "IEFF", wide ? kFormWide : kFormNarrow, rows.size());
    for (const InExFilterRow& row : rows) {
        PutUint32(bytes, row.include ? kTypeInclude : 0);
        const std::size_t fieldStart = bytes.size();
        if (wide) {
            const std::u16string_view text = row.text;
            for (std::size_t i = 0; i < std::min(text.size(), kPhraseChars - 1); ++i) {
                bytes.push_back(static_cast<std::uint8_t>(text[i]));
                bytes.push_back(static_cast<std::uint8_t>(text[i] >> 8));
            }
            bytes.resize(fieldStart + 2 * kPhraseChars, 0);
        } else {
            const std::string text = platform::Utf16ToUtf8(row.text);
            bytes.insert(bytes.end(), text.begin(),
                         text.begin() + std::min(text.size(), kPhraseChars - 1));
            bytes.resize(fieldStart + kPhraseChars, 0);
        }
    }
    return bytes;
}

}  // namespace filters::fixed_layout
