// The host side of the module contract, for programs that load a module the
// way a host application does: tavo-cli and the test hosts.
#pragma once

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
};

// Loads the module file and looks up its four exports. On failure returns
// false with a message naming the file and what is missing.
bool load_module(const std::string& path, ModuleExports& exports, std::string& error);

// The module file that sits beside the running executable.
std::string default_module_path();

// The program's arguments as UTF-8 texts (read as UTF-16 on Windows).
std::vector<std::string> utf8_arguments(int argc, char** argv);

// Standard input and output carry bytes unchanged (no CR LF translation).
void use_binary_stdio();

// A crash ends the process with a failure status instead of starting a debugger.
void exit_on_crash();

}  // namespace platform
