#include "filters/AsciiPrefilterPattern.h"

#include <string_view>

#include "filters/EmbeddablePattern.h"

namespace filters {

namespace {

constexpr std::string_view kDigit = "0-9";
constexpr std::string_view kWord = "0-9A-Za-z_";
// What \s matches among ASCII characters: space, tab, LF, VT, FF, CR.
constexpr std::string_view kSpace = "\\x09\\x0a\\x0b\\x0c\\x0d\\x20";

constexpr bool IsAsciiAlnum(char16_t ch) {
    return (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z') || (ch >= u'0' && ch <= u'9');
}

int HexValue(char16_t ch) {
    if (ch >= u'0' && ch <= u'9') return ch - u'0';
    if (ch >= u'a' && ch <= u'f') return ch - u'a' + 10;
    if (ch >= u'A' && ch <= u'F') return ch - u'A' + 10;
    return -1;
}

// One ASCII character as itself (letters, digits) or as a hex escape, which
// means the character in every context of the prefilter's syntax.
void AppendLiteral(std::string& out, char16_t ch) {
    static constexpr char kDigits[] = "0123456789abcdef";
    if (IsAsciiAlnum(ch)) {
        out += static_cast<char>(ch);
        return;
    }
    out += "\\x";
    out += kDigits[(ch >> 4) & 0xF];
    out += kDigits[ch & 0xF];
}

class Translator {
public:
    explicit Translator(std::u16string_view pattern) : in_(pattern) {}

    std::optional<std::string> Run() {
        while (pos_ < in_.size()) {
            if (!Item()) return std::nullopt;
        }
        return out_;
    }

private:
    bool AtEnd() const { return pos_ >= in_.size(); }
    char16_t Peek(std::size_t ahead = 0) const {
        return pos_ + ahead < in_.size() ? in_[pos_ + ahead] : u'\0';
    }

    bool Item() {
        const char16_t ch = in_[pos_];
        if (ch >= 0x80) return false;
        switch (ch) {
            case u'\\':
                return Escape();
            case u'[':
                return Class();
            case u'(':
                return Group();
            case u')':
            case u'|':
            case u'.':
            case u'^':
            case u'$':
                out_ += static_cast<char>(ch);
                ++pos_;
                return true;
            case u'*':
            case u'+':
            case u'?':
                out_ += static_cast<char>(ch);
                ++pos_;
                return AfterQuantifier();
            case u'{':
                return Counted();
            default:
                AppendLiteral(out_, ch);
                ++pos_;
                return true;
        }
    }

    // A lazy quantifier finds a match exactly where a greedy one does; a
    // possessive one may find none, which the prefilter cannot tell.
    bool AfterQuantifier() {
        if (Peek() == u'+') return false;
        if (Peek() == u'?') ++pos_;
        return true;
    }

    // {n}, {n,} and {n,m}; any other brace is refused rather than read as
    // a literal the way the expression engine might.
    bool Counted() {
        std::size_t at = pos_ + 1;
        const auto digits = [&] {
            const std::size_t start = at;
            while (at < in_.size() && in_[at] >= u'0' && in_[at] <= u'9') ++at;
            return at - start;
        };
        if (digits() == 0 || at >= in_.size()) return false;
        if (in_[at] == u',') {
            ++at;
            digits();
        }
        if (at >= in_.size() || in_[at] != u'}') return false;
        for (std::size_t k = pos_; k <= at; ++k) out_ += static_cast<char>(in_[k]);
        pos_ = at + 1;
        return AfterQuantifier();
    }

    bool Group() {
        if (Peek(1) == u'*') return false;
        if (Peek(1) == u'?') {
            if (Peek(2) != u':') return false;
            pos_ += 3;
        } else {
            ++pos_;
        }
        out_ += "(?:";
        return true;
    }

    // \xHH (up to two digits) or \x{H...}, the value of an ASCII character;
    // -1 when it is malformed or beyond ASCII.
    int HexEscapeValue() {
        int value = 0;
        if (Peek() == u'{') {
            ++pos_;
            std::size_t count = 0;
            while (!AtEnd() && Peek() != u'}') {
                const int digit = HexValue(Peek());
                if (digit < 0 || value > 0x7F) return -1;
                value = value * 16 + digit;
                ++pos_;
                ++count;
            }
            if (AtEnd() || count == 0) return -1;
            ++pos_;
        } else {
            for (int count = 0; count < 2 && HexValue(Peek()) >= 0; ++count) {
                value = value * 16 + HexValue(Peek());
                ++pos_;
            }
        }
        return value <= 0x7F ? value : -1;
    }

    // The character a simple escape stands for, or -1.
    static int ControlEscape(char16_t letter) {
        switch (letter) {
            case u't':
                return 0x09;
            case u'n':
                return 0x0A;
            case u'r':
                return 0x0D;
            case u'f':
                return 0x0C;
            case u'e':
                return 0x1B;
            case u'a':
                return 0x07;
            default:
                return -1;
        }
    }

    // The ASCII set of a class shorthand, empty when letter is none.
    static std::string_view ShorthandSet(char16_t letter) {
        switch (letter | 0x20) {
            case u'd':
                return kDigit;
            case u'w':
                return kWord;
            case u's':
                return kSpace;
            default:
                return {};
        }
    }

    // An escaped character (also inside a class): appended, or -1 on refusal.
    bool EscapedCharacter(char16_t letter) {
        if (letter == u'x') {
            ++pos_;
            const int value = HexEscapeValue();
            if (value < 0) return false;
            AppendLiteral(out_, static_cast<char16_t>(value));
            return true;
        }
        const int control = ControlEscape(letter);
        if (control >= 0 || (letter < 0x80 && !IsAsciiAlnum(letter))) {
            AppendLiteral(out_, control >= 0 ? static_cast<char16_t>(control) : letter);
            ++pos_;
            return true;
        }
        return false;
    }

    bool Escape() {
        ++pos_;
        if (AtEnd()) return false;
        const char16_t letter = Peek();
        if (letter == u'b' || letter == u'B') {
            out_ += '\\';
            out_ += static_cast<char>(letter);
            ++pos_;
            return true;
        }
        if (const std::string_view set = ShorthandSet(letter); !set.empty()) {
            out_ += letter >= u'a' ? "[" : "[^";
            out_ += set;
            out_ += ']';
            ++pos_;
            return true;
        }
        return EscapedCharacter(letter);
    }

    // A class of ASCII characters and ranges. A range next to a shorthand and
    // POSIX names are refused.
    bool Class() {
        ++pos_;
        out_ += '[';
        if (Peek() == u'^') {
            out_ += '^';
            ++pos_;
        }
        bool first = true;
        bool afterShorthand = false;
        while (!AtEnd()) {
            const char16_t ch = Peek();
            if (ch == u']' && !first) {
                out_ += ']';
                ++pos_;
                return true;
            }
            first = false;
            if (ch >= 0x80 || ch == u'[') return false;
            if (ch == u'-') {
                const bool closes = Peek(1) == u']';
                if (afterShorthand && !closes) return false;
                if (Peek(1) == u'\\' && !ShorthandSet(Peek(2)).empty()) return false;
                out_ += closes ? "\\x2d" : "-";
                ++pos_;
                continue;
            }
            afterShorthand = false;
            if (ch != u'\\') {
                AppendLiteral(out_, ch);
                ++pos_;
                continue;
            }
            ++pos_;
            if (AtEnd()) return false;
            const char16_t letter = Peek();
            const std::string_view set = ShorthandSet(letter);
            if (!set.empty()) {
                if (letter < u'a') return false;
                out_ += set;
                afterShorthand = true;
                ++pos_;
            } else if (letter == u'b') {
                AppendLiteral(out_, 0x08);
                ++pos_;
            } else if (!EscapedCharacter(letter)) {
                return false;
            }
        }
        return false;
    }

    std::u16string_view in_;
    std::size_t pos_ = 0;
    std::string out_;
};

std::optional<std::string> PlainExpression(std::u16string_view text) {
    std::string out;
    for (const char16_t ch : text) {
        if (ch >= 0x80) return std::nullopt;
        AppendLiteral(out, ch);
    }
    return out;
}

}  // namespace

std::optional<PrefilterPattern> AsciiPrefilterPattern(const FilterPhrase& phrase) {
    if (NeverMatches(phrase)) return std::nullopt;
    std::optional<std::string> expression =
        phrase.regularExpression ? Translator(phrase.text).Run() : PlainExpression(phrase.text);
    if (!expression) return std::nullopt;
    return PrefilterPattern{std::move(*expression), !phrase.matchCase};
}

}  // namespace filters
