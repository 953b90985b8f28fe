#include "package/random.h"

#include <chrono>
#include <random>

int64_t Document_Random(int64_t low, int64_t high) {
    if (high <= low) return low;
    const auto now = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    std::random_device device;
    std::seed_seq seed{device(), device(), static_cast<uint32_t>(now), static_cast<uint32_t>(now >> 32)};
    std::mt19937_64 generator(seed);
    return std::uniform_int_distribution<int64_t>(low, high)(generator);
}
