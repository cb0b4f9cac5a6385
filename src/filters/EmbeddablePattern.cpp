#include "filters/EmbeddablePattern.h"

#include <initializer_list>
#include <string_view>

#include "filters/CombinedExpression.h"
#include "filters/LoneSurrogates.h"

namespace filters {

namespace {

constexpr bool IsAsciiLetter(char32_t ch) {
    return (ch >= U'a' && ch <= U'z') || (ch >= U'A' && ch <= U'Z');
}
constexpr bool IsAsciiDigit(char32_t ch) {
    return ch >= U'0' && ch <= U'9';
}
constexpr bool IsHighSurrogate(char16_t ch) {
    return (ch & 0xFC00) == 0xD800;
}

void AppendHexEscape(std::u16string& out, char32_t ch) {
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    out += u"\\x{";
    bool started = false;
    for (int shift = 20; shift >= 0; shift -= 4) {
        const unsigned digit = (ch >> shift) & 0xF;
        if (digit == 0 && !started && shift > 0) continue;
        started = true;
        out += kDigits[digit];
    }
    out += u'}';
}

void AppendLiteral(std::u16string& out, char32_t ch, bool foldAscii) {
    if (IsAsciiLetter(ch) && foldAscii) {
        const char16_t lower = static_cast<char16_t>(ch | 0x20);
        out += u'[';
        out += lower;
        out += static_cast<char16_t>(lower - 0x20);
        out += u']';
    } else if (IsAsciiLetter(ch) || IsAsciiDigit(ch)) {
        out += static_cast<char16_t>(ch);
    } else {
        AppendHexEscape(out, ch);
    }
}

// A plain phrase holding a lone surrogate is left to the unit-by-unit search:
// an expression can only describe well-formed text.
std::optional<std::u16string> PlainPattern(std::u16string_view text, bool matchCase) {
    if (HasLoneSurrogate(text)) return std::nullopt;
    std::u16string out = u"(?:";
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        char32_t ch = text[pos];
        if (IsHighSurrogate(text[pos])) {
            ch = 0x10000 + ((ch - 0xD800) << 10) + (text[pos + 1] - 0xDC00);
            ++pos;
        }
        AppendLiteral(out, ch, !matchCase);
    }
    out += u')';
    return out;
}

bool StartsWithAny(std::u16string_view text, std::initializer_list<std::u16string_view> prefixes) {
    for (std::u16string_view prefix : prefixes) {
        if (text.starts_with(prefix)) return true;
    }
    return false;
}

// Escapes whose meaning depends on the rest of the pattern or on where the
// search started.
bool IsPlaceDependentEscape(char16_t next) {
    return (next >= u'1' && next <= u'9') || next == u'g' || next == u'k' || next == u'G' ||
           next == u'K';
}

// Group constructs that refer to other groups, reset their numbering, test
// them, or act on the whole match.
bool IsPlaceDependentGroup(std::u16string_view rest) {
    if (StartsWithAny(rest, {u"(*", u"(?|", u"(?(", u"(?R", u"(?&", u"(?P", u"(?+"})) return true;
    if (rest.size() >= 3 && rest.starts_with(u"(?") && IsAsciiDigit(rest[2])) return true;
    return rest.size() >= 4 && rest.starts_with(u"(?-") && IsAsciiDigit(rest[3]);
}

bool HasPlaceDependentConstruct(std::u16string_view pattern) {
    for (std::size_t pos = 0; pos < pattern.size(); ++pos) {
        if (pattern[pos] == u'\\') {
            if (pos + 1 < pattern.size() && IsPlaceDependentEscape(pattern[pos + 1])) return true;
            ++pos;
        } else if (pattern[pos] == u'(' && IsPlaceDependentGroup(pattern.substr(pos))) {
            return true;
        }
    }
    return false;
}

std::optional<std::u16string> ExpressionPattern(std::u16string_view pattern, bool matchCase) {
    if (HasPlaceDependentConstruct(pattern)) return std::nullopt;
    std::u16string out = matchCase ? u"(?-i:" : u"(?i:";
    out += pattern;
    out += u')';
    if (!CombinedExpression::ClosesItsGroup(out)) return std::nullopt;
    return out;
}

}  // namespace

bool NeverMatches(const FilterPhrase& phrase) {
    if (phrase.text.empty()) return true;
    return phrase.regularExpression && phrase.expression == nullptr;
}

std::optional<std::u16string> EmbeddablePattern(const FilterPhrase& phrase) {
    if (NeverMatches(phrase)) return std::nullopt;
    if (phrase.regularExpression) return ExpressionPattern(phrase.text, phrase.matchCase);
    return PlainPattern(phrase.text, phrase.matchCase);
}

}  // namespace filters
