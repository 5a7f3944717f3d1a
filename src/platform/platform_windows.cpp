// The platform layer on Windows: the kernel's global memory, tick count and
// file functions, and the user interface's window messages and message box.
#include "platform/platform.h"
#include "platform/lock.h"

#include <windows.h>

#include <cstring>

namespace platform {

std::optional<std::string> take_block(HGLOBAL block, long length) {
    std::string bytes;
    if (block == nullptr) return bytes;
    if (length > 0) {
        const void* data = GlobalLock(block);
        if (data == nullptr) {
            GlobalFree(block);
            return std::nullopt;
        }
        try {
            bytes.assign(static_cast<const char*>(data), static_cast<std::size_t>(length));
        } catch (...) {
            GlobalFree(block);
            throw;
        }
    }
    // The module owns the block and frees it without unlocking it first.
    GlobalFree(block);
    return bytes;
}

HGLOBAL make_block(std::string_view bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, bytes.size());
    if (block == nullptr) return nullptr;
    // A fixed block's handle is the address of its data.
    if (!bytes.empty()) std::memcpy(block, bytes.data(), bytes.size());
    return block;
}

void Lock::acquire() { AcquireSRWLockExclusive(&native_); }

void Lock::release() { ReleaseSRWLockExclusive(&native_); }

uint32_t tick_count() { return GetTickCount(); }

std::optional<std::vector<std::string>> list_directory(const std::string& directory) {
    std::string pattern = directory;
    if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<std::string> names;
    do {
        names.emplace_back(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

bool create_directory(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

void send_to_viewer_window(std::string_view line) {
    // Class name and title of the viewer window, as UTF-8 bytes.
    static const char kViewerName[] = "ぽれむ";
    static HWND viewer = nullptr;
    static bool looked_for = false;
    if (viewer == nullptr) {
        if (looked_for) return;
        viewer = FindWindowA(kViewerName, kViewerName);
        looked_for = true;
        if (viewer == nullptr) return;
    }
    std::string text(line);  // zero-terminated copy; the zero is part of the data
    COPYDATASTRUCT data;
    data.dwData = 0;
    data.cbData = static_cast<DWORD>(text.size() + 1);
    data.lpData = text.data();
    SendMessageA(viewer, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

void show_error_box(const std::string& text) {
    MessageBoxA(nullptr, text.c_str(), "error - ORVANE", MB_SYSTEMMODAL);
}

}  // namespace platform
