#include "cli/module_client.h"

#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

namespace {

// Path parts end at "/" and, as Windows also reads them, at "\\".
std::size_t name_start(const std::string& path) {
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? 0 : separator + 1;
}

// A block as POSIX hosts hand it over: from malloc, no terminating zero.
char* malloc_block(std::string_view bytes) {
    char* block = static_cast<char*>(std::malloc(bytes.empty() ? 1 : bytes.size()));
    if (block != nullptr && !bytes.empty()) std::memcpy(block, bytes.data(), bytes.size());
    return block;
}

std::optional<std::string> send_instance_request(platform::InstanceRequestFunction export_function,
                                                 long id, std::string_view request) {
    long length = static_cast<long>(request.size());
    char* response = export_function(id, malloc_block(request), &length);
    if (response == nullptr) return std::nullopt;
    std::string text(response, static_cast<std::size_t>(length > 0 ? length : 0));
    std::free(response);
    return text;
}

std::optional<std::string> exchange_through_instance(const std::string& path, std::string_view request,
                                                     std::string& error) {
    platform::InstanceExports module;
    if (!load_instance_module(path, module, error)) return std::nullopt;
    const std::string directory = path.substr(0, name_start(path));
    const long id = module.load(malloc_block(directory), static_cast<long>(directory.size()));
    if (id == 0) {
        error = "module '" + path + "' refused to load";
        return std::nullopt;
    }
    std::optional<std::string> response = send_instance_request(module.request, id, request);
    module.unload(id);
    return response;
}

std::optional<std::string> exchange_through_exports(const std::string& path, std::string_view request,
                                                    std::string& error) {
    platform::ModuleExports module;
    if (!load_module(path, module, error)) return std::nullopt;
    const std::string directory = path.substr(0, name_start(path));
    if (send_load(module.load, directory) != TRUE) {
        error = "module '" + path + "' refused to load";
        return std::nullopt;
    }
    std::optional<std::string> response = send_request(module.request, request);
    module.unload();
    return response;
}

}  // namespace

bool load_module(const std::string& path, platform::ModuleExports& exports, std::string& error) {
    std::vector<void*> functions;
    if (!platform::find_module_functions(path, {"load", "unload", "request", "getversionlist"},
                                         functions, exports.library, error)) {
        return false;
    }
    exports.load = reinterpret_cast<platform::LoadFunction>(functions[0]);
    exports.unload = reinterpret_cast<platform::UnloadFunction>(functions[1]);
    exports.request = reinterpret_cast<platform::RequestFunction>(functions[2]);
    exports.getversionlist = reinterpret_cast<platform::RequestFunction>(functions[3]);
    return true;
}

void unload_module(platform::ModuleExports& exports) {
    platform::close_module(exports.library);
    exports = platform::ModuleExports();
}

bool load_instance_module(const std::string& path, platform::InstanceExports& exports,
                          std::string& error) {
    const std::string stem = module_stem(path);
    std::vector<void*> functions;
    if (!platform::find_module_functions(
            path, {stem + "_saori_load", stem + "_saori_unload", stem + "_saori_request"}, functions,
            exports.library, error)) {
        return false;
    }
    exports.load = reinterpret_cast<platform::InstanceLoadFunction>(functions[0]);
    exports.unload = reinterpret_cast<platform::InstanceUnloadFunction>(functions[1]);
    exports.request = reinterpret_cast<platform::InstanceRequestFunction>(functions[2]);
    return true;
}

std::string module_stem(const std::string& path) {
    const std::string name = path.substr(name_start(path));
    return name.substr(0, name.rfind('.'));
}

std::optional<std::string> exchange_once(const std::string& path, Convention convention,
                                         std::string_view request, std::string& error) {
    error.clear();
    std::optional<std::string> response = convention == Convention::posix
                                              ? exchange_through_instance(path, request, error)
                                              : exchange_through_exports(path, request, error);
    if (!response && error.empty()) error = "the module returned no response";
    return response;
}

BOOL send_load(platform::LoadFunction load, std::string_view directory) {
    return load(platform::make_block(directory), static_cast<long>(directory.size()));
}

std::optional<std::string> send_request(platform::RequestFunction export_function,
                                        std::string_view request) {
    HGLOBAL block = platform::make_block(request);
    if (block == nullptr) return std::nullopt;
    long length = static_cast<long>(request.size());
    HGLOBAL response = export_function(block, &length);
    if (response == nullptr) return std::nullopt;
    return platform::take_block(response, length);
}

std::string execute_request(const std::vector<std::string>& arguments, std::string_view charset) {
    std::size_t size = 40 + charset.size();
    for (const std::string& argument : arguments) size += argument.size() + 20;
    std::string request;
    request.reserve(size);
    request.append("EXECUTE SAORI/1.0\r\nCharset: ").append(charset).append("\r\n");
    for (std::size_t n = 0; n < arguments.size(); ++n) {
        request.append("Argument").append(std::to_string(n)).append(": ").append(arguments[n]).append("\r\n");
    }
    request.append("\r\n");
    return request;
}

ParsedResponse parse_response(std::string_view response) {
    ParsedResponse parsed;
    std::size_t line_start = 0;
    bool first_line = true;
    while (line_start < response.size()) {
        std::size_t line_end = response.find("\r\n", line_start);
        if (line_end == std::string_view::npos) line_end = response.size();
        const std::string_view line = response.substr(line_start, line_end - line_start);
        line_start = line_end + 2;
        if (first_line) {
            first_line = false;
            const std::size_t space = line.find(' ');
            if (space != std::string_view::npos) {
                parsed.status = std::atoi(std::string(line.substr(space + 1)).c_str());
            }
            continue;
        }
        const std::size_t colon = line.find(": ");
        if (colon == std::string_view::npos) continue;
        const std::string_view key = line.substr(0, colon);
        const std::string_view value = line.substr(colon + 2);
        if (key == "Result") {
            parsed.result = std::string(value);
        } else if (key.substr(0, 5) == "Value") {
            parsed.values.emplace_back(value);
        }
    }
    return parsed;
}
