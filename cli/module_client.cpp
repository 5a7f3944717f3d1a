#include "cli/module_client.h"

#include <cstdlib>

#include "platform/platform.h"

std::optional<std::string> send_request(platform::RequestFunction export_function,
                                        std::string_view request) {
    HGLOBAL block = platform::make_block(request);
    if (block == nullptr) return std::nullopt;
    long length = static_cast<long>(request.size());
    HGLOBAL response = export_function(block, &length);
    if (response == nullptr) return std::nullopt;
    return platform::take_block(response, length);
}

std::string execute_request(const std::vector<std::string>& arguments) {
    std::size_t size = 40;
    for (const std::string& argument : arguments) size += argument.size() + 20;
    std::string request;
    request.reserve(size);
    request.append("EXECUTE SAORI/1.0\r\nCharset: UTF-8\r\n");
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
