#include "filters/CombinedPhraseSearch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "filters/AsciiPrefilterPattern.h"
#include "filters/CombinedExpression.h"
#include "filters/EmbeddablePattern.h"
#include "filters/InExFilterList.h"
#include "filters/PhrasePrefilter.h"

namespace filters {
namespace {

FilterPhrase Phrase(std::u16string_view text, bool matchCase, bool regularExpression) {
    FilterPhrase phrase;
    phrase.Assign(text, matchCase, regularExpression);
    return phrase;
}

TEST(InExCombinedSearch, PlainPhrasesBecomeExactLiterals) {
    EXPECT_EQ(EmbeddablePattern(Phrase(u"a1.\\E)", true, false)), u"(?:a1\\x{2e}\\x{5c}E\\x{29})");
    EXPECT_EQ(EmbeddablePattern(Phrase(u"aK\u00e4", false, false)), u"(?:[aA][kK]\\x{e4})");
    EXPECT_EQ(EmbeddablePattern(Phrase(u"\U0001F600", true, false)), u"(?:\\x{1f600})");
    EXPECT_EQ(EmbeddablePattern(Phrase(u"a\xDC00", true, false)), std::nullopt)
        << "a lone surrogate cannot be written as a literal";
    EXPECT_EQ(EmbeddablePattern(Phrase(u"", true, false)), std::nullopt);
    EXPECT_TRUE(NeverMatches(Phrase(u"", true, false)));
}

TEST(InExCombinedSearch, ExpressionsKeepTheirCaseInsideTheirGroup) {
    EXPECT_EQ(EmbeddablePattern(Phrase(u"a|b", true, true)), u"(?-i:a|b)");
    EXPECT_EQ(EmbeddablePattern(Phrase(u"(?x) a b # note\n", false, true)),
              u"(?i:(?x) a b # note\n)");
    EXPECT_EQ(EmbeddablePattern(Phrase(u"\\\\1 [(?R)]", true, true)), std::nullopt)
        << "refusing is conservative: a construct in a class is refused too";
    EXPECT_TRUE(NeverMatches(Phrase(u"(", true, true)));
    EXPECT_FALSE(NeverMatches(Phrase(u"(", true, false)));
}

TEST(InExCombinedSearch, ExpressionsThatDependOnTheirPlaceAreRefused) {
    const std::u16string_view placeDependent[] = {
        u"(?<n>a)\\1",   u"(?<n>a)\\g1",  u"(?<n>a)\\k<n>", u"(?P<n>a)(?P=n)", u"(?<n>a)(?1)",
        u"a(?R)?",       u"(?<n>a)(?&n)", u"(?<n>a)(?-1)",  u"(*UCP)a",        u"(*SKIP)a",
        u"\\Ga",         u"a\\Kb",        u"(?|a|b)",       u"(?(?=a)a|b)",    u"\\Qa",
        u"(?x)a # rest", u"(?x)a#"};
    for (std::u16string_view pattern : placeDependent) {
        const FilterPhrase phrase = Phrase(pattern, true, true);
        ASSERT_NE(phrase.expression, nullptr) << "each compiles alone";
        EXPECT_EQ(EmbeddablePattern(phrase), std::nullopt)
            << std::string(pattern.begin(), pattern.end());
    }
    EXPECT_TRUE(EmbeddablePattern(Phrase(u"\\Qa(|\\E?", true, true)).has_value());
}

TEST(InExCombinedSearch, TheRunawayPatternGivesUpAndIsNotCountedAsNoMatch) {
    const auto expression = CombinedExpression::Compile(u"(?:(?:a+)+$)|(?:zzz)");
    ASSERT_NE(expression, nullptr);
    EXPECT_EQ(expression->Search(std::u16string(40, u'a') + u"!"), CombinedResult::GaveUp);
    EXPECT_EQ(expression->Search(u"a zzz"), CombinedResult::Match);
    EXPECT_EQ(expression->Search(u"a zz!"), CombinedResult::NoMatch);
}

TEST(InExCombinedSearch, RealisticPatternsJoinIntoOneExpression) {
    const std::u16string_view patterns[] = {u"timeout",
                                            u"refused",
                                            u"ERROR [0-9]+",
                                            u"user=[a-z]+42",
                                            u"status=5[0-9][0-9]",
                                            u"Failed password",
                                            u"OutOfMemoryError",
                                            u"NullPointerException",
                                            u"usage at 9[0-9]%",
                                            u"session [0-9a-f]{8} expired"};
    std::vector<FilterPhrase> phrases;
    for (std::u16string_view pattern : patterns) phrases.push_back(Phrase(pattern, true, true));
    phrases.push_back(Phrase(u"Plain Words", false, false));
    std::vector<const FilterPhrase*> pointers;
    for (const FilterPhrase& phrase : phrases) pointers.push_back(&phrase);
    const CombinedPhraseSearch search(pointers);
    EXPECT_EQ(search.CombinedCount(), phrases.size());
    EXPECT_EQ(search.SeparateCount(), 0u);
    EXPECT_TRUE(search.AnyMatch(u"GET status=503 time=3ms"));
    EXPECT_TRUE(search.AnyMatch(u"some plain words here"));
    EXPECT_FALSE(search.AnyMatch(u"GET status=404 time=3ms"));
}

TEST(InExCombinedSearch, PhrasesThatClashTogetherAreTestedOnTheirOwn) {
    const FilterPhrase first = Phrase(u"(?<id>a)b", true, true);
    const FilterPhrase second = Phrase(u"(?<id>c)d", true, true);
    const FilterPhrase third = Phrase(u"ef", true, false);
    const CombinedPhraseSearch search({&first, &second, &third});
    EXPECT_EQ(search.CombinedCount(), 2u);
    EXPECT_EQ(search.SeparateCount(), 1u);
    EXPECT_TRUE(search.AnyMatch(u"xcdx"));
    EXPECT_TRUE(search.AnyMatch(u"xabx"));
    EXPECT_TRUE(search.AnyMatch(u"xefx"));
    EXPECT_FALSE(search.AnyMatch(u"xacx"));
}

// The decision exactly as the lists describe it: the exclude list in order,
// then the include list in order, each filter tested on its own.
bool ReferenceAcceptLine(const CInExFilters& filters, std::u16string_view line) {
    for (const InExFilter& filter : filters.Exclude()) {
        if (filter.Enable && MatchPhrase(filter.phrase, line)) return false;
    }
    for (const InExFilter& filter : filters.Include()) {
        if (filter.Enable && MatchPhrase(filter.phrase, line)) return true;
    }
    return !filters.AnyIncludeEnabled();
}

class RandomFilters {
public:
    explicit RandomFilters(unsigned seed) : random_(seed) {}

    std::u16string Text(std::size_t maxLength) {
        std::u16string text;
        const std::size_t length = Below(maxLength + 1);
        for (std::size_t i = 0; i < length; ++i) text += kUnits[Below(std::size(kUnits))];
        return text;
    }

    std::vector<InExFilter> List() {
        std::vector<InExFilter> list(Below(5));
        for (InExFilter& filter : list) {
            filter.Enable = Below(4) != 0;
            filter.phrase.matchCase = Below(2) == 0;
            filter.phrase.regularExpression = Below(2) == 0;
            filter.phrase.text = filter.phrase.regularExpression && Below(2) == 0
                                     ? std::u16string(kExpressions[Below(std::size(kExpressions))])
                                     : Text(3);
        }
        return list;
    }

private:
    std::size_t Below(std::size_t bound) { return random_() % bound; }

    // Letters that fold by ASCII or only by Unicode rules (the Kelvin sign,
    // a-umlaut), a surrogate pair, lone surrogates, the replacement character
    // and characters that are special in expressions.
    static constexpr char16_t kUnits[] = {
        u'a', u'b',  u'A', u'B',   u'k',   u'K',   0x212A, 0x00E4, 0x00C4, u' ', u'.',
        u'*', u'\\', u'(', u')',   u'[',   u']',   u'|',   u'?',   u'+',   u'#', u'x',
        u'1', u'$',  u'^', 0xD83D, 0xDE00, 0xD800, 0xDC00, 0xFFFD, u'E',   u'Q'};
    static constexpr std::u16string_view kExpressions[] = {
        u"a+",      u"(?i)k",    u"\\bab",       u"^a",
        u"b$",      u"[a-b]+",   u"a*",          u"\\x{212a}",
        u"K",       u".",        u"(?i:\u00e4)", u"a(?=b)",
        u"(?<=a)b", u"\u00c4",   u"\\w\\W",      u"(?<n>a)\\k<n>",
        u"\\Qa(",   u"(?x)a#",   u"(*UCP)k",     u"\\Ka",
        u"(?|a)",   u"(?<q>b)",  u"(?<q>k)",     u"\\Gb",
        u"(",       u"\\p{Lu}",  u"\uFFFD",      u"[^a]",
        u"(?-i)K",  u"\\QK\\E|b"};

    std::mt19937 random_;
};

TEST(InExCombinedSearch, AcceptLineAgreesWithTheWalkThroughEachFilter) {
    RandomFilters random(20261208);
    std::size_t combinedLists = 0;
    for (int trial = 0; trial < 600; ++trial) {
        CInExFilters filters;
        filters.Replace(random.List(), random.List());
        for (int line = 0; line < 60; ++line) {
            const std::u16string text = random.Text(10);
            ASSERT_EQ(filters.AcceptLine(text), ReferenceAcceptLine(filters, text))
                << "trial " << trial << " line " << line;
        }
        std::vector<const FilterPhrase*> enabled;
        for (const InExFilter& filter : filters.Exclude()) {
            if (filter.Enable) enabled.push_back(&filter.phrase);
        }
        if (CombinedPhraseSearch(enabled).CombinedCount() > 1) ++combinedLists;
    }
    EXPECT_GT(combinedLists, 100u) << "the combined search must really be exercised";
}

// Lines mostly of ASCII characters, with the odd Kelvin sign, a-umlaut,
// surrogate pair or lone surrogate; expressions built from the parts the
// prefilter takes over (and a few it refuses), so that its scan decides most
// lines.
class RandomAsciiFilters {
public:
    explicit RandomAsciiFilters(unsigned seed) : random_(seed) {}

    std::u16string Line() {
        static constexpr char16_t kAscii[] = u"abkKAB12_-. #xs\tS";
        static constexpr char16_t kOther[] = {0x212A, 0x00E4, 0x017F, 0xD800, 0xDC00};
        std::u16string line;
        const std::size_t length = Below(18);
        for (std::size_t i = 0; i < length; ++i) {
            line += kAscii[Below(std::size(kAscii) - 1)];
        }
        if (Below(5) == 0 && !line.empty()) {
            const std::size_t at = Below(line.size());
            if (Below(3) == 0) {
                line.insert(at, u"\U0001F600");
            } else {
                line[at] = kOther[Below(std::size(kOther))];
            }
        }
        return line;
    }

    FilterPhrase Phrase() {
        const bool matchCase = Below(2) == 0;
        if (Below(4) == 0) {
            std::u16string text = Line().substr(0, 1 + Below(3));
            if (text.empty()) text = u"a";
            return Make(text, matchCase, false);
        }
        std::u16string pattern;
        if (Below(5) == 0) pattern += u'^';
        pattern += Sequence();
        if (Below(4) == 0) pattern += u'|' + Sequence();
        if (Below(5) == 0) pattern += u'$';
        if (Below(10) == 0) pattern = u"(?:" + pattern + u")+";
        return Make(pattern, matchCase, true);
    }

    std::vector<InExFilter> List(std::size_t maxLength) {
        std::vector<InExFilter> list(Below(maxLength + 1));
        for (InExFilter& filter : list) {
            filter.phrase = Phrase();
            filter.Enable = Below(6) != 0;
        }
        return list;
    }

private:
    static FilterPhrase Make(std::u16string_view text, bool matchCase, bool regularExpression) {
        FilterPhrase phrase;
        phrase.Assign(text, matchCase, regularExpression);
        return phrase;
    }

    std::u16string Sequence() {
        static constexpr std::u16string_view kAtoms[] = {
            u"a",         u"b",     u"k",     u"K",       u"s",     u"ab",      u"x1",
            u".",         u"[a-c]", u"[^a]",  u"[0-9]",   u"\\d",   u"\\w",     u"\\s",
            u"\\W",       u"\\D",   u"\\S",   u"\\.",     u"\\x41", u"\\x{62}", u"[\\d_]",
            u"[\\w-]",    u" ",     u"#",     u"-",       u"\\t",   u"[]a]",    u"[^\\s]",
            u"\\x{212a}", u"(?=a)", u"(?i)b", u"\\p{Lu}", u"a++",   u"\\Qa.",   u"[[:alpha:]]"};
        static constexpr std::u16string_view kQuantifiers[] = {
            u"", u"", u"", u"*", u"+", u"?", u"{2}", u"{1,2}", u"{0,}", u"*?", u"+?"};
        static constexpr std::u16string_view kBetween[] = {u"", u"", u"", u"\\b", u"\\B"};
        std::u16string sequence;
        const std::size_t atoms = 1 + Below(3);
        for (std::size_t i = 0; i < atoms; ++i) {
            sequence += kBetween[Below(std::size(kBetween))];
            std::u16string atom(kAtoms[Below(std::size(kAtoms))]);
            if (Below(8) == 0) atom = u"(" + atom + u"|" + std::u16string(kAtoms[Below(8)]) + u")";
            sequence += atom;
            sequence += kQuantifiers[Below(std::size(kQuantifiers))];
        }
        return sequence;
    }

    std::size_t Below(std::size_t bound) { return random_() % bound; }

    std::mt19937 random_;
};

TEST(InExCombinedSearch, ThePrefilterReportsEveryPhraseThatOccursInALine) {
    if (!PhrasePrefilter::Available()) GTEST_SKIP() << "built without the multi-pattern engine";
    RandomAsciiFilters random(20261209);
    std::size_t covered = 0;
    std::size_t scanned = 0;
    std::vector<char> maybe;
    for (int trial = 0; trial < 60; ++trial) {
        std::vector<FilterPhrase> phrases(1 + trial % 24);
        for (FilterPhrase& phrase : phrases) phrase = random.Phrase();
        std::vector<const FilterPhrase*> pointers;
        for (const FilterPhrase& phrase : phrases) pointers.push_back(&phrase);
        const PhrasePrefilter prefilter(pointers);
        covered += prefilter.CoveredCount();
        for (int n = 0; n < 200; ++n) {
            const std::u16string line = random.Line();
            prefilter.MarkCandidates(line, maybe);
            ASSERT_EQ(maybe.size(), phrases.size());
            for (std::size_t i = 0; i < phrases.size(); ++i) {
                if (!maybe[i]) ++scanned;
                ASSERT_TRUE(maybe[i] || !MatchPhrase(phrases[i], line))
                    << "trial " << trial << " phrase " << i << " line " << n;
            }
        }
    }
    EXPECT_GT(covered, 300u) << "most phrases must be taken over";
    EXPECT_GT(scanned, 20000u) << "the scan must rule out phrases";
}

TEST(InExCombinedSearch, AcceptLineWithThePrefilterAgreesWithTheWalkThroughEachFilter) {
    RandomAsciiFilters random(1208);
    std::size_t prefiltered = 0;
    for (int trial = 0; trial < 60; ++trial) {
        CInExFilters filters;
        filters.Replace(random.List(trial % 3 == 0 ? 2 : 8), random.List(20));
        for (int line = 0; line < 250; ++line) {
            const std::u16string text = random.Line();
            ASSERT_EQ(filters.AcceptLine(text), ReferenceAcceptLine(filters, text))
                << "trial " << trial << " line " << line;
        }
        std::vector<const FilterPhrase*> enabled;
        for (const InExFilter& filter : filters.Exclude()) {
            if (filter.Enable) enabled.push_back(&filter.phrase);
        }
        prefiltered += CombinedPhraseSearch(enabled).PrefilteredCount();
    }
    if (PhrasePrefilter::Available()) {
        EXPECT_GT(prefiltered, 200u) << "the prefilter must really be exercised";
    }
}

TEST(InExCombinedSearch, ThePrefilterLeavesWhatItCannotReadToTheExpressionEngine) {
    const std::u16string_view refused[] = {
        u"a(?=b)", u"(?i)a", u"a++",   u"\\Qa",    u"\\p{L}", u"[[:alpha:]]", u"\\x{e4}",
        u"\u00e4", u"\\1",   u"a{,2}", u"[\\d-z]", u"\\A",    u"\\h",         u"(*UCP)a"};
    for (std::u16string_view pattern : refused) {
        EXPECT_EQ(AsciiPrefilterPattern(Phrase(pattern, true, true)), std::nullopt)
            << std::string(pattern.begin(), pattern.end());
    }
    const auto digits = AsciiPrefilterPattern(Phrase(u"id=\\d+\\b", false, true));
    ASSERT_TRUE(digits.has_value());
    EXPECT_TRUE(digits->caseless);
    EXPECT_EQ(AsciiPrefilterPattern(Phrase(u"\u00c4", false, false)), std::nullopt);
}

}  // namespace
}  // namespace filters
