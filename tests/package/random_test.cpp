#include <cstdlib>
#include <set>

#include <gtest/gtest.h>

#include "package/random.h"

TEST(DocumentRandom, StaysWithinTheClosedRange) {
    std::set<int64_t> seen;
    for (int i = 0; i < 2000; ++i) {
        int64_t value = Document_Random(1, 3);
        ASSERT_GE(value, 1);
        ASSERT_LE(value, 3);
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 3u);  // both ends are reached
    EXPECT_EQ(Document_Random(7, 7), 7);
    for (int i = 0; i < 100; ++i) {
        int64_t id = Document_Random(1, 0x7fffffe);
        ASSERT_GE(id, 1);
        ASSERT_LE(id, 134217726);
    }
}

// The C library's generator belongs to the host program: drawing numbers
// must not reseed it or take numbers from its sequence.
TEST(DocumentRandom, LeavesTheCLibraryGeneratorAlone) {
    std::srand(20240229);
    const int first = std::rand(), second = std::rand();
    std::srand(20240229);
    EXPECT_EQ(std::rand(), first);
    Document_Random(1, 134217726);
    EXPECT_EQ(std::rand(), second);
}
