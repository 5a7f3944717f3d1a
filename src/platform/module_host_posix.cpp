#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <fstream>
#include <thread>

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
    exports.library = module;
    return error.empty();
}

void unload_module(ModuleExports& exports) {
    if (exports.library != nullptr) dlclose(exports.library);
    exports = ModuleExports();
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

std::size_t process_memory_bytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    std::size_t resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

void run_in_threads(std::size_t count, const std::function<void(std::size_t)>& work) {
    std::vector<std::thread> threads;
    for (std::size_t n = 0; n < count; ++n) threads.emplace_back(work, n);
    for (std::thread& thread : threads) thread.join();
}

void exit_on_crash() {}

}  // namespace platform
