// The platform layer in a WebAssembly instance: malloc blocks as on POSIX, the
// tick count from the WASI monotonic clock, and a lock that does nothing, the
// instance running one thread. An instance has no disk of its own to rely on,
// so no directory is listed or created (lsimg and mkdir answer 0), and there
// is no debug viewer and no message box.
#include "platform/platform.h"
#include "platform/lock.h"

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

void Lock::acquire() {}

void Lock::release() {}

uint32_t tick_count() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t milliseconds =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(milliseconds);
}

std::optional<std::vector<std::string>> list_directory(const std::string&) { return std::nullopt; }

bool create_directory(const std::string&) { return false; }

void send_to_viewer_window(std::string_view) {}

void show_error_box(const std::string&) {}

}  // namespace platform
