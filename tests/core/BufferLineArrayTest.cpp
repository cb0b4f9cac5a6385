#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/LineArray.h"

namespace core::test {
namespace {

CTextLine Numbered(int n) {
    return CTextLine(std::u16string(1, static_cast<char16_t>(u'A' + n % 26)) +
                     std::u16string(static_cast<std::size_t>(n % 40), u'.'));
}

std::u16string NumberedText(int n) {
    return std::u16string(Numbered(n).Text());
}

void ExpectSame(const CLineArray& lines, const std::vector<int>& model) {
    ASSERT_EQ(lines.Size(), static_cast<int>(model.size()));
    for (int i = 0; i < lines.Size(); ++i) {
        ASSERT_EQ(lines[i].Text(), NumberedText(model[static_cast<std::size_t>(i)]))
            << "entry " << i;
    }
}

TEST(BufferLineArrayTest, GrowsByWholeBlocks) {
    CLineArray lines;
    EXPECT_EQ(lines.Allocated(), 0);
    lines.PushBack(CTextLine{});
    EXPECT_EQ(lines.Allocated(), 2048);
    for (int i = 1; i < 2049; ++i) lines.PushBack(CTextLine{});
    EXPECT_EQ(lines.Allocated(), 4096);
}

TEST(BufferLineArrayTest, TrimmingTheTopReleasesBlocksAndKeepsOrder) {
    CLineArray lines;
    std::vector<int> model;
    int next = 0;
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < 1500; ++i) {
            lines.PushBack(Numbered(next));
            model.push_back(next++);
        }
        const int keep = 10;
        lines.Erase(0, lines.Size() - keep);
        model.erase(model.begin(), model.end() - keep);
        ASSERT_LE(lines.Allocated(), 2 * 2048 + 2048);
    }
    ExpectSame(lines, model);
}

// Random inserts and erases anywhere, checked against a plain vector, so that
// both the front-moving and the back-moving paths cross block boundaries.
TEST(BufferLineArrayTest, RandomEditsMatchAPlainVector) {
    std::mt19937 random(7);
    CLineArray lines;
    std::vector<int> model;
    int next = 0;
    for (int step = 0; step < 600; ++step) {
        const int size = lines.Size();
        const int choice = static_cast<int>(random() % 3);
        if (choice < 2 || size == 0) {
            const int pos =
                size == 0 ? 0 : static_cast<int>(random() % static_cast<unsigned>(size + 1));
            const int count = 1 + static_cast<int>(random() % (step % 50 == 0 ? 3000u : 40u));
            std::vector<CTextLine> fresh;
            for (int i = 0; i < count; ++i) {
                fresh.push_back(Numbered(next));
                model.insert(model.begin() + pos + i, next++);
            }
            lines.Insert(pos, fresh);
        } else {
            const int first = static_cast<int>(random() % static_cast<unsigned>(size));
            const int last =
                first + 1 +
                static_cast<int>(random() % static_cast<unsigned>(std::min(size - first, 500)));
            lines.Erase(first, last);
            model.erase(model.begin() + first, model.begin() + last);
        }
        ExpectSame(lines, model);
    }
    lines.Clear();
    EXPECT_EQ(lines.Size(), 0);
    EXPECT_EQ(lines.Allocated(), 0);
}

TEST(BufferLineArrayTest, FlagsTravelWithTheirEntries) {
    CLineArray lines;
    for (int i = 0; i < 5; ++i) {
        lines.PushBack(Numbered(i));
        lines.Back().SetFlags(static_cast<std::uint32_t>(i + 1));
    }
    std::vector<CTextLine> fresh;
    fresh.push_back(Numbered(9));
    lines.Insert(1, fresh);
    lines.Erase(3, 5);
    ASSERT_EQ(lines.Size(), 4);
    EXPECT_EQ(lines[0].Flags(), 1u);
    EXPECT_EQ(lines[1].Flags(), 0u);
    EXPECT_EQ(lines[2].Flags(), 2u);
    EXPECT_EQ(lines[3].Flags(), 5u);
}

}  // namespace
}  // namespace core::test
