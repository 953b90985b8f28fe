// The set that tells live handles from dangling ones: it must agree with a
// plain set through any mix of inserts and erases, also once entries have
// moved back into the gaps erases leave in a probe run.
#include <cstdint>
#include <unordered_set>
#include <vector>

#include <gtest/gtest.h>

#include "pointer_set.h"

namespace {

using vexrt::detail::PointerSet;

TEST(PointerSet, AgreesWithAPlainSetThroughInsertsAndErases) {
    // Addresses of records are blocks of a few sizes apart; take those.
    std::vector<int64_t> blocks(4096);
    std::vector<int64_t*> records;
    for (int64_t& b : blocks) records.push_back(&b);

    PointerSet<int64_t> set;
    std::unordered_set<int64_t*> plain;
    uint64_t state = 12345;
    auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return size_t(state >> 33);
    };
    for (int step = 0; step < 200000; ++step) {
        int64_t* p = records[next() % (step < 100000 ? 600 : records.size())];
        if (next() % 3 == 0) {
            ASSERT_EQ(set.erase(p), plain.erase(p) == 1) << "step " << step;
        } else {
            ASSERT_EQ(set.insert(p), plain.insert(p).second) << "step " << step;
        }
        ASSERT_EQ(set.size(), plain.size());
        if (step % 1000 == 0) {
            for (int64_t* q : records) ASSERT_EQ(set.contains(q), plain.count(q) == 1) << "step " << step;
        }
    }
    size_t listed = 0;
    for (int64_t* p : set) {
        EXPECT_EQ(plain.count(p), 1u);
        ++listed;
    }
    EXPECT_EQ(listed, plain.size());
    EXPECT_FALSE(set.contains(nullptr));
    for (int64_t* p : records) set.erase(p);
    EXPECT_TRUE(set.empty());
    for (int64_t* p : records) EXPECT_FALSE(set.contains(p));
}

}  // namespace
