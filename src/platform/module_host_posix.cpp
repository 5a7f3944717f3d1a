#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <fstream>
#include <thread>

#include "platform/module_host.h"

namespace platform {

bool find_module_functions(const std::string& path, const std::vector<std::string>& names,
                           std::vector<void*>& functions, void*& library, std::string& error) {
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* reason = dlerror();
        error = "cannot load module '" + path + "': " + (reason != nullptr ? reason : "unknown error");
        return false;
    }
    library = module;
    functions.clear();
    for (const std::string& name : names) {
        functions.push_back(dlsym(module, name.c_str()));
        if (functions.back() == nullptr) {
            error = "module '" + path + "' does not export '" + name + "'";
            return false;
        }
    }
    return true;
}

void close_module(void* library) {
    if (library != nullptr) dlclose(library);
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

void write_text(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

void exit_on_crash() {}

}  // namespace platform
