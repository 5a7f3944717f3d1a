#include "host/sakura_dll_host.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kKeySeparator = ": ";

}  // namespace

SakuraDLLHost::~SakuraDLLHost() = default;

bool SakuraDLLHost::load(const std::string&) { return true; }

bool SakuraDLLHost::unload() { return true; }

std::string SakuraDLLHost::getversionlist(const std::string&) { return std::string(); }

std::string_view split_first(std::string_view& rest, std::string_view separator) {
    const std::size_t at = rest.find(separator);
    if (at == std::string_view::npos) {
        const std::string_view head = rest;
        rest = std::string_view();
        return head;
    }
    const std::string_view head = rest.substr(0, at);
    rest.remove_prefix(at + separator.size());
    return head;
}

std::string_view status_text(int status) {
    switch (status) {
        case 200: return "200 OK";
        case 204: return "204 No Content";
        case 400: return "400 Bad Request";
        default: return "500 Internal Server Error";
    }
}

std::string SakuraDLLHost::request(const std::string& request_text) {
    std::string_view rest = request_text;
    const std::string_view request_line = split_first(rest, kLineEnd);

    // The request line is cut at its last space: the command text may itself
    // hold spaces ("GET Version").
    std::string_view command_part = request_line;
    std::string_view protocol_part;
    const std::size_t space = request_line.rfind(' ');
    if (space != std::string_view::npos) {
        command_part = request_line.substr(0, space);
        protocol_part = request_line.substr(space + 1);
    }
    const std::string command(command_part);
    const std::string protocol(split_first(protocol_part, "/"));
    const std::string version(protocol_part);

    HeaderList request_headers;
    while (!rest.empty()) {
        std::string_view line = split_first(rest, kLineEnd);
        const std::string_view key = split_first(line, kKeySeparator);
        request_headers.emplace_back(std::string(key), std::string(line));
    }

    std::string response_protocol;
    std::string response_version;
    HeaderList response_headers;
    const int status = handle_request(protocol, version, command, request_headers,
                                      response_protocol, response_version, response_headers);

    bool has_charset = false;
    for (const auto& header : response_headers) has_charset = has_charset || header.first == "Charset";
    if (!has_charset) response_headers.emplace_back("Charset", "UTF-8");

    std::size_t size = response_protocol.size() + response_version.size() + 40;
    for (const auto& header : response_headers) size += header.first.size() + header.second.size() + 4;
    std::string response;
    response.reserve(size);
    response.append(response_protocol).append("/").append(response_version).append(" ");
    response.append(status_text(status)).append(kLineEnd);
    for (const auto& header : response_headers) {
        response.append(header.first).append(kKeySeparator).append(header.second).append(kLineEnd);
    }
    response.append(kLineEnd);
    return response;
}
