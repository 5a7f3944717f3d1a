// Talking to a loaded module as a host does: building requests, passing
// blocks through an export and reading the response.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/module_host.h"

// Which exports a host uses: the Windows-style load, request and unload, or
// the `<stem>_saori_*` functions with an instance id that POSIX hosts use.
enum class Convention { windows, posix };

// Loads the module file and looks up its four Windows-style exports.
bool load_module(const std::string& path, platform::ModuleExports& exports, std::string& error);

// Releases a module that load_module loaded, as a host does when it is done
// with it; its exports must not be called afterwards.
void unload_module(platform::ModuleExports& exports);

// Loads the module file and looks up `<stem>_saori_load`, `_unload` and
// `_request`, the stem being the file name without its extension.
bool load_instance_module(const std::string& path, platform::InstanceExports& exports,
                          std::string& error);

// The file name in `path` without its directory and its extension.
std::string module_stem(const std::string& path);

// Loads the module through `convention`, gives its load the module's
// directory, sends one request and unloads it. nullopt, with a message in
// `error`, when the module cannot be loaded, refuses to load or answers nothing.
std::optional<std::string> exchange_once(const std::string& path, Convention convention,
                                         std::string_view request, std::string& error);

// Hands `directory` to the module's load in a new block, as a host does;
// the module's answer.
BOOL send_load(platform::LoadFunction load, std::string_view directory);

// Sends the request bytes through `export_function` and returns the response
// bytes; nullopt when the module hands back no block.
std::optional<std::string> send_request(platform::RequestFunction export_function,
                                        std::string_view request);

// "EXECUTE SAORI/1.0" with "Charset: <charset>" and Argument0..N.
std::string execute_request(const std::vector<std::string>& arguments,
                            std::string_view charset = "UTF-8");

struct ParsedResponse {
    int status = 0;
    std::string result;
    std::vector<std::string> values;
};

// Reads the status code, the Result line and the Value lines of a response.
ParsedResponse parse_response(std::string_view response);
