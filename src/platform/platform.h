// Every operating-system call the module makes, behind plain functions. One
// source file per platform implements them; the build picks the file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/exports_abi.h"

namespace platform {

// Copies `length` bytes out of a host block and releases the block. A null
// block or a length of zero or less reads as the empty text; nullopt when the
// block cannot be locked.
std::optional<std::string> take_block(HGLOBAL block, long length);

// A new fixed block holding exactly `bytes`; null when allocation fails.
HGLOBAL make_block(std::string_view bytes);

// Milliseconds since the system started, truncated to 32 bits.
uint32_t tick_count();

// The names in a directory, in the order the system enumerates them;
// nullopt when the directory cannot be searched. `directory` is passed to
// the system as it stands.
std::optional<std::vector<std::string>> list_directory(const std::string& directory);

// Creates one directory (not its parents); false when the system refuses.
bool create_directory(const std::string& path);

// Sends one zero-terminated line to the debug viewer window if the window
// was found at the first call; the lookup is made once while the library
// stays loaded.
void send_to_viewer_window(std::string_view line);

// Shows a system-modal message box.
void show_error_box(const std::string& text);

// Holds the one lock over the instance ids of the `<stem>_saori_*` exports
// while it lives: hosts call those from several threads. POSIX builds only.
class InstanceLock {
public:
    InstanceLock();
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
};

}  // namespace platform
