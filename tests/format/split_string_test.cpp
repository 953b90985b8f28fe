#include <gtest/gtest.h>

#include "format/split_string.h"

TEST(SplitString, EverySeparatorAndTheEndClosePieces) {
    using Pieces = std::vector<std::string>;
    EXPECT_EQ(SplitString("", '\t'), Pieces{""});
    EXPECT_EQ(SplitString("a\tb\t", '\t'), (Pieces{"a", "b", ""}));
    EXPECT_EQ(SplitString("\ta\t\tb", '\t'), (Pieces{"", "a", "", "b"}));
    EXPECT_EQ(SplitString("x\ny\tz", '\n'), (Pieces{"x", "y\tz"}));
    EXPECT_EQ(SplitString(std::string_view("\xC3\xBC\0,c", 5), ','), (Pieces{std::string("\xC3\xBC\0", 3), "c"}));
}
