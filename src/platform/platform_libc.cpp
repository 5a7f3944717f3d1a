// What the platform layers outside Windows share: host blocks from malloc and
// the tick count from the C library's monotonic clock.
#include "platform/platform.h"

#include <time.h>

#include <cstdlib>
#include <cstring>

namespace platform {

HostBlock::HostBlock(HGLOBAL block, long length) : block_(block) {
    if (block != nullptr && length > 0) {
        bytes_ = std::string_view(static_cast<const char*>(block),
                                  static_cast<std::size_t>(length));
    }
}

HostBlock::~HostBlock() { std::free(block_); }

HGLOBAL make_block(std::string_view bytes) {
    // malloc(0) may return null; one spare byte keeps every block real.
    void* block = std::malloc(bytes.size() + 1);
    if (block == nullptr) return nullptr;
    if (!bytes.empty()) std::memcpy(block, bytes.data(), bytes.size());
    return block;
}

uint32_t tick_count() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t milliseconds =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(milliseconds);
}

}  // namespace platform
