#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "platform/module_host.h"

namespace platform {

bool find_module_functions(const std::string& path, const std::vector<std::string>& names,
                           std::vector<void*>& functions, std::string& error) {
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* reason = dlerror();
        error = "cannot load module '" + path + "': " + (reason != nullptr ? reason : "unknown error");
        return false;
    }
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

void write_text(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

void exit_on_crash() {}

}  // namespace platform
