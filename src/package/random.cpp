#include "package/random.h"

#include <cstdlib>
#include <ctime>

int64_t Document_Random(int64_t low, int64_t high) {
    static bool seeded = false;
    if (!seeded) {
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        seeded = true;
    }
    if (high <= low) return low;
    return low + static_cast<int64_t>(std::rand()) % (high - low + 1);
}
