// windows.h comes first: shellapi.h builds on it.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/module_host.h"

namespace platform {

namespace {

std::string utf8_from_wide(const wchar_t* wide) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return std::string();
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
    text.pop_back();  // the terminating zero
    return text;
}

struct ThreadWork {
    const std::function<void(std::size_t)>* work;
    std::size_t index;
};

DWORD WINAPI run_thread_work(void* parameter) {
    const auto* thread_work = static_cast<const ThreadWork*>(parameter);
    (*thread_work->work)(thread_work->index);
    return 0;
}

std::wstring wide_from_utf8(std::string_view text) {
    if (text.empty()) return std::wstring();
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), size);
    return wide;
}

LONG WINAPI exit_with_failure(EXCEPTION_POINTERS*) {
    std::fflush(stdout);
    ExitProcess(3);
}

}  // namespace

bool find_module_functions(const std::string& path, const std::vector<std::string>& names,
                           std::vector<void*>& functions, void*& library, std::string& error) {
    HMODULE module = LoadLibraryW(wide_from_utf8(path).c_str());
    if (module == nullptr) {
        error = "cannot load module '" + path + "': error " + std::to_string(GetLastError());
        return false;
    }
    library = module;
    functions.clear();
    for (const std::string& name : names) {
        functions.push_back(reinterpret_cast<void*>(GetProcAddress(module, name.c_str())));
        if (functions.back() == nullptr) {
            error = "module '" + path + "' does not export '" + name + "'";
            return false;
        }
    }
    return true;
}

void close_module(void* library) {
    if (library != nullptr) FreeLibrary(static_cast<HMODULE>(library));
}

std::string default_module_path() {
    wchar_t executable[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, executable, MAX_PATH);
    std::wstring directory(executable, length);
    const std::size_t slash = directory.find_last_of(L"\\/");
    directory.erase(slash == std::wstring::npos ? 0 : slash + 1);
    return utf8_from_wide((directory + L"tavo.dll").c_str());
}

std::vector<std::string> utf8_arguments(int, char**) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(utf8_from_wide(wide[i]));
    LocalFree(wide);
    return arguments;
}

void use_binary_stdio() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}

std::size_t process_memory_bytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return counters.PagefileUsage;
}

void run_in_threads(std::size_t count, const std::function<void(std::size_t)>& work) {
    std::vector<ThreadWork> thread_work;
    for (std::size_t n = 0; n < count; ++n) thread_work.push_back({&work, n});
    std::vector<HANDLE> threads;
    for (ThreadWork& item : thread_work) {
        HANDLE thread = CreateThread(nullptr, 0, run_thread_work, &item, 0, nullptr);
        if (thread == nullptr) {
            work(item.index);  // no thread to be had: the work is still done
        } else {
            threads.push_back(thread);
        }
    }
    for (HANDLE thread : threads) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
}

void write_text(std::FILE* stream, std::string_view text) {
    std::fflush(stream);
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) {
        std::fwrite(text.data(), 1, text.size(), stream);
        std::fflush(stream);
        return;
    }
    // A console shows UTF-16 right whatever its code page. Written in pieces,
    // never splitting a surrogate pair.
    const std::wstring wide = wide_from_utf8(text);
    constexpr std::size_t kPiece = 8192;
    for (std::size_t start = 0; start < wide.size();) {
        std::size_t count = std::min(kPiece, wide.size() - start);
        if (count == kPiece && IS_HIGH_SURROGATE(wide[start + count - 1])) --count;
        DWORD written = 0;
        if (!WriteConsoleW(handle, wide.data() + start, static_cast<DWORD>(count), &written, nullptr)) return;
        start += count;
    }
}

void exit_on_crash() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(exit_with_failure);
}

}  // namespace platform
