// The platform layer on POSIX systems: opendir/readdir, mkdir and a pthread
// mutex for the locks (the malloc blocks and the clock are in
// platform_libc.cpp). There is no debug viewer and no message box.
#include "platform/platform.h"
#include "platform/lock.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

namespace platform {

namespace {

// Scripts written for Windows hosts separate path parts with "\"; here every
// backslash is a separator.
std::string posix_path(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

}  // namespace

void Lock::acquire() { pthread_mutex_lock(&native_); }

void Lock::release() { pthread_mutex_unlock(&native_); }

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
