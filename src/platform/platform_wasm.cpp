// The platform layer in a WebAssembly instance (the malloc blocks and the
// WASI monotonic clock are in platform_libc.cpp): a lock that does nothing,
// the instance running one thread. An instance has no disk of its own to rely on,
// so no directory is listed or created (lsimg and mkdir answer 0), and there
// is no debug viewer and no message box.
#include "platform/platform.h"
#include "platform/lock.h"

namespace platform {

void Lock::acquire() {}

void Lock::release() {}

std::optional<std::vector<std::string>> list_directory(const std::string&) { return std::nullopt; }

bool create_directory(const std::string&) { return false; }

void send_to_viewer_window(std::string_view) {}

void show_error_box(const std::string&) {}

}  // namespace platform
