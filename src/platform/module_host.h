// The host side of the module contract, for programs that load a module the
// way a host application does: tavo-cli and the test hosts.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/exports_abi.h"

namespace platform {

using LoadFunction = BOOL(TAVO_CALL*)(HGLOBAL, long);
using UnloadFunction = BOOL(TAVO_CALL*)();
using RequestFunction = HGLOBAL(TAVO_CALL*)(HGLOBAL, long*);

struct ModuleExports {
    LoadFunction load = nullptr;
    UnloadFunction unload = nullptr;
    RequestFunction request = nullptr;
    RequestFunction getversionlist = nullptr;
    void* library = nullptr;  // the loaded module, for unload_module
};

// Loads the module file and looks up its four exports. On failure returns
// false with a message naming the file and what is missing.
bool load_module(const std::string& path, ModuleExports& exports, std::string& error);

// Releases a module loaded by load_module, as a host does when it is done
// with it; its exports must not be called afterwards.
void unload_module(ModuleExports& exports);

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

// A crash ends the process with a failure status instead of starting a debugger.
void exit_on_crash();

}  // namespace platform
