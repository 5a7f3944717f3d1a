// The host side of the module contract, for programs that load a module the
// way a host application does: tavo-cli and the test hosts.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/exports_abi.h"

namespace platform {

// The Windows-style exports: load, unload, request and getversionlist.
using LoadFunction = BOOL(TAVO_CALL*)(HGLOBAL, long);
using UnloadFunction = BOOL(TAVO_CALL*)();
using RequestFunction = HGLOBAL(TAVO_CALL*)(HGLOBAL, long*);

struct ModuleExports {
    LoadFunction load = nullptr;
    UnloadFunction unload = nullptr;
    RequestFunction request = nullptr;
    RequestFunction getversionlist = nullptr;
    void* library = nullptr;  // the loaded module, for close_module
};

// The exports POSIX hosts find by the file's stem: `<stem>_saori_load`,
// `_unload` and `_request`, with malloc blocks and instance ids.
using InstanceLoadFunction = long (*)(char*, long);
using InstanceUnloadFunction = int (*)(long);
using InstanceRequestFunction = char* (*)(long, char*, long*);

struct InstanceExports {
    InstanceLoadFunction load = nullptr;
    InstanceUnloadFunction unload = nullptr;
    InstanceRequestFunction request = nullptr;
    void* library = nullptr;  // the loaded module, for close_module
};

// Loads the module file and looks up each of `names`, in order, into
// `functions`. On failure returns false with a message naming the file and
// the first name missing.
// `library` is the loaded module, for close_module.
bool find_module_functions(const std::string& path, const std::vector<std::string>& names,
                           std::vector<void*>& functions, void*& library, std::string& error);

// Releases a module that find_module_functions loaded, as a host does when
// it is done with it; its functions must not be called afterwards.
void close_module(void* library);

// The module file that sits beside the running executable.
std::string default_module_path();

// The program's arguments as UTF-8 texts (read as UTF-16 on Windows).
std::vector<std::string> utf8_arguments(int argc, char** argv);

// Standard input and output carry bytes unchanged (no CR LF translation).
void use_binary_stdio();

// The memory the process holds: committed memory on Windows, resident
// memory elsewhere, in bytes.
std::size_t process_memory_bytes();

// Runs `work(0)` to `work(count - 1)` on `count` threads at once and waits
// for all of them.
void run_in_threads(std::size_t count, const std::function<void(std::size_t)>& work);
// Writes UTF-8 text to `stream` (stdout or stderr): as UTF-16 when the
// stream is a Windows console, whatever its code page; as the bytes
// themselves anywhere else.
void write_text(std::FILE* stream, std::string_view text);

// A crash ends the process with a failure status instead of starting a debugger.
void exit_on_crash();

}  // namespace platform
