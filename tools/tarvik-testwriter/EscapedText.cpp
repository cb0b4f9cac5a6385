#include "EscapedText.h"

#include <charconv>

#include "platform/CodePage.h"

namespace testwriter {

namespace {

// One decoded piece of an escaped text: either literal UTF-8 or one number
// from \xHH / \uHHHH / a simple escape.
struct Piece {
    std::string_view literal;
    std::optional<unsigned> number;
    bool isUnicodeEscape = false;
};

std::optional<unsigned> ParseHex(std::string_view digits) {
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

std::optional<unsigned> SimpleEscape(char c) {
    switch (c) {
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 't':
            return '\t';
        case '0':
            return 0;
        case '\\':
            return '\\';
        case 's':
            return ' ';
        default:
            return std::nullopt;
    }
}

// Splits the text at its escapes and hands each piece to `take`; false when
// an escape is malformed.
template <typename Take>
bool ForEachPiece(std::string_view text, Take take) {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t slash = text.find('\\', at);
        if (slash != at) {
            const std::size_t end = slash == std::string_view::npos ? text.size() : slash;
            take(Piece{text.substr(at, end - at), std::nullopt});
            at = end;
            continue;
        }
        if (at + 1 >= text.size()) return false;
        const char kind = text[at + 1];
        const std::size_t digits = kind == 'x' ? 2 : kind == 'u' ? 4 : 0;
        std::optional<unsigned> number;
        if (digits == 0) {
            number = SimpleEscape(kind);
        } else if (at + 2 + digits <= text.size()) {
            number = ParseHex(text.substr(at + 2, digits));
        }
        if (!number) return false;
        take(Piece{{}, number, kind == 'u'});
        at += 2 + digits;
    }
    return true;
}

void AppendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void AppendUnitLe(std::string& out, char16_t unit) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
}

std::optional<std::string> EncodeUtf8(std::string_view escaped) {
    std::string out;
    const bool ok = ForEachPiece(escaped, [&](const Piece& piece) {
        if (!piece.number) {
            out += piece.literal;
        } else if (piece.isUnicodeEscape) {
            AppendUtf8(out, *piece.number);
        } else {
            out.push_back(static_cast<char>(*piece.number));
        }
    });
    if (!ok) return std::nullopt;
    return out;
}

std::optional<std::string> EncodeUtf16Le(std::string_view escaped) {
    std::string out;
    const bool ok = ForEachPiece(escaped, [&](const Piece& piece) {
        if (!piece.number) {
            for (char16_t unit : platform::Utf8ToUtf16(piece.literal)) AppendUnitLe(out, unit);
        } else {
            AppendUnitLe(out, static_cast<char16_t>(*piece.number));
        }
    });
    if (!ok) return std::nullopt;
    return out;
}

}  // namespace

std::optional<TextEncoding> ParseEncoding(std::string_view name) {
    if (name == "u8") return TextEncoding::Utf8;
    if (name == "u16") return TextEncoding::Utf16Le;
    return std::nullopt;
}

std::optional<std::string> EncodeEscaped(std::string_view escaped, TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? EncodeUtf8(escaped) : EncodeUtf16Le(escaped);
}

}  // namespace testwriter
