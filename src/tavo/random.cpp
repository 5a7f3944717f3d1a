#include "tavo/random.h"

#include <optional>
#include <random>

#include "platform/lock.h"

namespace {

// The standard engine is the published algorithm with its parameters and
// tempering; a default-constructed one is seeded with 5489. It is made on
// first use, not by a constructor of its own, so that seeding it while the
// library is attached works whatever order the objects are built in.
// Requests from several threads draw from it one at a time.
std::optional<std::mt19937> engine;
platform::Lock engine_lock;

std::mt19937& ready_engine() {
    if (!engine) engine.emplace();
    return *engine;
}

}  // namespace

void seed_generator(uint32_t seed) {
    const platform::LockGuard guard(engine_lock);
    ready_engine().seed(seed);
}

int32_t next_random31() {
    const platform::LockGuard guard(engine_lock);
    return static_cast<int32_t>(ready_engine()() >> 1);
}
