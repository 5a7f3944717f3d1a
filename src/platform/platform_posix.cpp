// The platform layer on POSIX systems: malloc blocks, the monotonic clock,
// opendir/readdir, mkdir and a pthread mutex for the locks. There is no debug viewer and no
// message box.
#include "platform/platform.h"
#include "platform/lock.h"

#include <dirent.h>
#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

// Scripts written for Windows hosts separate path parts with "\"; here every
// backslash is a separator.
std::string posix_path(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

}  // namespace

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

void Lock::acquire() { pthread_mutex_lock(&native_); }

void Lock::release() { pthread_mutex_unlock(&native_); }

uint32_t tick_count() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t milliseconds =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(milliseconds);
}

std::optional<std::vector<std::string>> list_directory(const std::string& directory) {
    // The empty directory text lists the root, as "\*" does on Windows.
    const std::string path = directory.empty() ? std::string("/") : posix_path(directory);
    DIR* search = opendir(path.c_str());
    if (search == nullptr) return std::nullopt;
    std::vector<std::string> names;
    while (const dirent* entry = readdir(search)) names.emplace_back(entry->d_name);
    closedir(search);
    return names;
}

bool create_directory(const std::string& path) {
    return ::mkdir(posix_path(path).c_str(), 0777) == 0;
}

void send_to_viewer_window(std::string_view) {}

void show_error_box(const std::string&) {}


}  // namespace platform
