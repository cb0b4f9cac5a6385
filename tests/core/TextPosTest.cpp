#include <gtest/gtest.h>

#include "core/TextPos.h"

namespace core {
namespace {

TEST(TextPosTest, OrdersByLineBeforeCharacter) {
    EXPECT_LT((TextPos{50, 1}), (TextPos{0, 2}));
    EXPECT_LT((TextPos{1, 3}), (TextPos{2, 3}));
    EXPECT_GT((TextPos{0, 4}), (TextPos{9, 3}));
    EXPECT_EQ((TextPos{2, 7}), (TextPos{2, 7}));
    EXPECT_NE((TextPos{7, 2}), (TextPos{2, 7}));
}

}  // namespace
}  // namespace core
