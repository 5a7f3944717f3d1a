// windows.h comes first: shellapi.h builds on it.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
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
                           std::vector<void*>& functions, std::string& error) {
    HMODULE module = LoadLibraryW(wide_from_utf8(path).c_str());
    if (module == nullptr) {
        error = "cannot load module '" + path + "': error " + std::to_string(GetLastError());
        return false;
    }
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
