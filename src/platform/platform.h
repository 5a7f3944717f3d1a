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

// A block the host handed over, read where it lies: its bytes stay readable
// while this object lives, and the block is released when it goes. A null
// block or a length of zero or less reads as the empty text; a block that
// cannot be locked is not readable.
class HostBlock {
public:
    HostBlock(HGLOBAL block, long length);
    ~HostBlock();
    HostBlock(const HostBlock&) = delete;
    HostBlock& operator=(const HostBlock&) = delete;

    bool readable() const { return readable_; }
    std::string_view bytes() const { return bytes_; }

private:
    HGLOBAL block_;
    std::string_view bytes_;
    bool readable_ = true;
};

// Copies `length` bytes out of a host block and releases the block; nullopt
// when the block cannot be locked.
inline std::optional<std::string> take_block(HGLOBAL block, long length) {
    const HostBlock held(block, length);
    if (!held.readable()) return std::nullopt;
    return std::string(held.bytes());
}

// A new fixed block holding exactly `bytes`; null when allocation fails.
HGLOBAL make_block(std::string_view bytes);

// Milliseconds since the system started, truncated to 32 bits.
uint32_t tick_count();

// The names in a directory, in the order the system enumerates them;
// nullopt when the directory cannot be searched. On Windows a directory in
// UTF-8 is searched through the UTF-16 functions and its names come back in
// UTF-8; other bytes go to the ANSI functions unchanged and the names come
// back in the ANSI code page. On POSIX the bytes pass through both ways.
std::optional<std::vector<std::string>> list_directory(const std::string& directory);

// Creates one directory (not its parents); false when the system refuses.
// The path is read as for list_directory.
bool create_directory(const std::string& path);

// Sends one zero-terminated line to the debug viewer window if the window
// was found at the first call; the lookup is made once while the library
// stays loaded.
void send_to_viewer_window(std::string_view line);

// Shows a system-modal message box.
void show_error_box(const std::string& text);

}  // namespace platform
