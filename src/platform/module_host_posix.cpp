#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "platform/module_host.h"

namespace platform {

bool load_module(const std::string& path, ModuleExports& exports, std::string& error) {
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* reason = dlerror();
        error = "cannot load module '" + path + "': " + (reason != nullptr ? reason : "unknown error");
        return false;
    }
    const auto find = [&](const char* name) -> void* {
        void* symbol = dlsym(module, name);
        if (symbol == nullptr && error.empty()) {
            error = "module '" + path + "' does not export '" + name + "'";
        }
        return symbol;
    };
    error.clear();
    exports.load = reinterpret_cast<LoadFunction>(find("load"));
    exports.unload = reinterpret_cast<UnloadFunction>(find("unload"));
    exports.request = reinterpret_cast<RequestFunction>(find("request"));
    exports.getversionlist = reinterpret_cast<RequestFunction>(find("getversionlist"));
    return error.empty();
}

std::string default_module_path() {
    char executable[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", executable, sizeof executable - 1);
    std::string directory = ".";
    if (length > 0) {
        directory.assign(executable, static_cast<std::size_t>(length));
        directory.erase(directory.rfind('/'));
    }
    return directory + "/tavo.so";
}

std::vector<std::string> utf8_arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void use_binary_stdio() {}

void exit_on_crash() {}

}  // namespace platform
