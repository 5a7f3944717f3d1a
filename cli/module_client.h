// Talking to a loaded module as a host does: building requests, passing
// blocks through an export and reading the response.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/module_host.h"

// Sends the request bytes through `export_function` and returns the response
// bytes; nullopt when the module hands back no block.
std::optional<std::string> send_request(platform::RequestFunction export_function,
                                        std::string_view request);

// "EXECUTE SAORI/1.0" with "Charset: UTF-8" and Argument0..N.
std::string execute_request(const std::vector<std::string>& arguments);

struct ParsedResponse {
    int status = 0;
    std::string result;
    std::vector<std::string> values;
};

// Reads the status code, the Result line and the Value lines of a response.
ParsedResponse parse_response(std::string_view response);
