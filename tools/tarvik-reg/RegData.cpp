#include "RegData.h"

#include <cstdio>

#include "platform/CodePage.h"

namespace tarvik_reg {

namespace {

struct TypeEntry {
    platform::DWORD type;
    const char* name;
    bool onCommandLine;
};

constexpr TypeEntry kTypes[] = {
    {platform::REG_NONE, "REG_NONE", false},
    {platform::REG_SZ, "REG_SZ", true},
    {platform::REG_EXPAND_SZ, "REG_EXPAND_SZ", true},
    {platform::REG_BINARY, "REG_BINARY", true},
    {platform::REG_DWORD, "REG_DWORD", true},
    {5, "REG_DWORD_BIG_ENDIAN", false},
    {6, "REG_LINK", false},
    {7, "REG_MULTI_SZ", false},
    {11, "REG_QWORD", false},
};

bool SameWithoutCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string HexString(const Bytes& data) {
    std::string text;
    char pair[3];
    for (std::uint8_t byte : data) {
        std::snprintf(pair, sizeof pair, "%02X", byte);
        text += pair;
    }
    return text;
}

std::uint32_t LittleEndian32(const Bytes& data) {
    return data[0] | (data[1] << 8) | (data[2] << 16) | (std::uint32_t{data[3]} << 24);
}

std::u16string Utf16Units(const Bytes& data) {
    std::u16string text(data.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    return text;
}

bool WellFormed(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xDC00 && c <= 0xDFFF) return false;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
            ++i;
        }
    }
    return true;
}

constexpr platform::DWORD kMultiString = 7;

// The strings of a list separated by "\0", as the system's tool shows them.
std::string MultiStringText(std::u16string units) {
    while (!units.empty() && units.back() == u'\0') units.pop_back();
    std::string text;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = units.find(u'\0', start);
        text += platform::Utf16ToUtf8(std::u16string_view(units).substr(start, end - start));
        if (end == std::u16string::npos) return text;
        text += "\\0";
        start = end + 1;
    }
}

std::optional<Bytes> ParseDword(std::string_view text) {
    std::optional<std::uint32_t> number;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        number = ParseHexNumber(text.substr(2), 8);
    } else if (!text.empty() && text.size() <= 10) {
        std::uint64_t value = 0;
        for (char c : text) {
            if (c < '0' || c > '9') return std::nullopt;
            value = value * 10 + (c - '0');
        }
        if (value <= 0xFFFFFFFFu) number = static_cast<std::uint32_t>(value);
    }
    if (!number) return std::nullopt;
    return Bytes{static_cast<std::uint8_t>(*number), static_cast<std::uint8_t>(*number >> 8),
                 static_cast<std::uint8_t>(*number >> 16),
                 static_cast<std::uint8_t>(*number >> 24)};
}

std::optional<Bytes> ParseHexDigits(std::string_view text) {
    if (text.size() % 2 != 0) return std::nullopt;
    Bytes data;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        data.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return data;
}

}  // namespace

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::uint32_t> ParseHexNumber(std::string_view text, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::string TypeName(platform::DWORD type) {
    for (const TypeEntry& entry : kTypes)
        if (entry.type == type) return entry.name;
    char text[32];
    std::snprintf(text, sizeof text, "REG_0x%X", type);
    return text;
}

std::optional<platform::DWORD> ParseTypeName(std::string_view name) {
    for (const TypeEntry& entry : kTypes)
        if (entry.onCommandLine && SameWithoutCase(name, entry.name)) return entry.type;
    return std::nullopt;
}

std::string DisplayData(const Value& value) {
    const Bytes& data = value.data;
    if (value.type == platform::REG_DWORD && data.size() == 4) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%x", LittleEndian32(data));
        return text;
    }
    if (value.type == platform::REG_SZ || value.type == platform::REG_EXPAND_SZ)
        return platform::Utf16ToUtf8(std::u16string(Utf16Units(data).c_str()));
    if (value.type == kMultiString) return MultiStringText(Utf16Units(data));
    return HexString(data);
}

std::optional<Bytes> ParseData(platform::DWORD type, std::string_view text) {
    switch (type) {
        case platform::REG_DWORD:
            return ParseDword(text);
        case platform::REG_BINARY:
            return ParseHexDigits(text);
        default:
            return StringBytes(text);
    }
}

Bytes StringBytes(std::string_view utf8) {
    Bytes data;
    for (char16_t c : platform::Utf8ToUtf16(utf8)) {
        data.push_back(static_cast<std::uint8_t>(c & 0xFF));
        data.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    data.push_back(0);
    data.push_back(0);
    return data;
}

std::optional<std::string> ExactText(const Bytes& data) {
    if (data.size() < 2 || data.size() % 2 != 0) return std::nullopt;
    const std::u16string units = Utf16Units(data);
    const std::u16string_view text(units.data(), units.size() - 1);
    if (units.back() != u'\0' || text.find(u'\0') != std::u16string_view::npos) return std::nullopt;
    if (!WellFormed(text)) return std::nullopt;
    return platform::Utf16ToUtf8(text);
}

}  // namespace tarvik_reg
