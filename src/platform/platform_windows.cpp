// The platform layer on Windows: the kernel's global memory, tick count and
// file functions, and the user interface's window messages and message box.
// Paths in UTF-8 go to the UTF-16 file functions; other bytes, from callers
// that send the ANSI code page, to the ANSI ones unchanged.
#include "platform/platform.h"
#include "platform/lock.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

#include "common/utf16.h"

namespace platform {

namespace {

// A path the module received, for the system's UTF-16 functions; nullopt
// when it is not UTF-8 (a caller sending bytes of the ANSI code page), for
// the ANSI functions.
std::optional<std::wstring> wide_path(const std::string& path) {
    const auto wide = utf16_from_utf8(path);
    if (!wide) return std::nullopt;
    return std::wstring(wide->begin(), wide->end());
}

std::string utf8_name(const wchar_t* name) {
    return utf8_from_utf16(std::u16string(name, name + std::wcslen(name)));
}

std::string ansi_name(const char* name) { return name; }

// Whether a path in the ANSI code page ends with a backslash character. It
// is read by characters: under a double-byte code page such as 932, 0x5C is
// also the second byte of many characters (表 is 95 5C).
bool ansi_path_ends_with_separator(const std::string& path) {
    if (path.empty() || path.back() != '\\') return false;
    std::size_t last = path.size();  // where the last character starts
    for (std::size_t i = 0; i < path.size();) {
        last = i;
        const bool double_byte = IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(path[i])) && i + 1 < path.size();
        i += double_byte ? 2 : 1;
    }
    return last == path.size() - 1 && path[last] == '\\';
}

// The names a search pattern yields, through one of the system's
// FindFirstFile/FindNextFile pairs; each name is turned into text by name_of.
template <typename Char, typename Entry, typename NameOf>
std::optional<std::vector<std::string>> find_names(const Char* pattern,
                                                   HANDLE(WINAPI* find_first)(const Char*, Entry*),
                                                   BOOL(WINAPI* find_next)(HANDLE, Entry*),
                                                   NameOf name_of) {
    Entry entry;
    HANDLE search = find_first(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<std::string> names;
    try {
        do {
            names.push_back(name_of(entry.cFileName));
        } while (find_next(search, &entry));
    } catch (...) {
        FindClose(search);  // a failed allocation must not leak the search
        throw;
    }
    FindClose(search);
    return names;
}

}  // namespace

HostBlock::HostBlock(HGLOBAL block, long length) : block_(block) {
    if (block == nullptr || length <= 0) return;
    const void* data = GlobalLock(block);
    readable_ = data != nullptr;
    if (readable_) {
        bytes_ = std::string_view(static_cast<const char*>(data), static_cast<std::size_t>(length));
    }
}

// The module owns the block and frees it without unlocking it first.
HostBlock::~HostBlock() {
    if (block_ != nullptr) GlobalFree(block_);
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
    // The pattern is the directory, a backslash unless it ends with one, and "*".
    if (auto wide = wide_path(directory)) {
        if (wide->empty() || wide->back() != L'\\') *wide += L'\\';
        *wide += L'*';
        return find_names(wide->c_str(), FindFirstFileW, FindNextFileW, utf8_name);
    }
    std::string pattern = directory;
    if (!ansi_path_ends_with_separator(pattern)) pattern += '\\';
    pattern += '*';
    return find_names(pattern.c_str(), FindFirstFileA, FindNextFileA, ansi_name);
}

bool create_directory(const std::string& path) {
    if (const auto wide = wide_path(path)) return CreateDirectoryW(wide->c_str(), nullptr) != 0;
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

void send_to_viewer_window(std::string_view line) {
    // Class name and title of the viewer window, looked up as UTF-16 so that
    // it is found under every ANSI code page.
    static const wchar_t kViewerName[] = L"ぽれむ";
    static HWND viewer = nullptr;
    static bool looked_for = false;
    if (viewer == nullptr) {
        if (looked_for) return;
        viewer = FindWindowW(kViewerName, kViewerName);
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
