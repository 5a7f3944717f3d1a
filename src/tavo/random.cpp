#include "tavo/random.h"

#include <random>

namespace {

// The standard engine is the published algorithm with its parameters and
// tempering; a default-constructed one is seeded with 5489.
std::mt19937& generator() {
    static std::mt19937 engine;
    return engine;
}

}  // namespace

void seed_generator(uint32_t seed) { generator().seed(seed); }

int32_t next_random31() { return static_cast<int32_t>(generator()() >> 1); }
