#include "host/sakura_dll_host.h"

#include <cstddef>
#include <cstring>
#include <memory_resource>

namespace {

// Room for the header list of a request of up to 16 lines (32 on 32-bit
// builds).
constexpr std::size_t kHeaderBufferBytes = 512;
constexpr std::size_t kStackLines = kHeaderBufferBytes / sizeof(HeaderList::value_type);

// The number of CR LF pairs in the text.
std::size_t count_line_ends(std::string_view text) {
    std::size_t count = 0;
    const char* data = text.data();
    const char* const end = data + text.size();
    for (const char* at = data; at < end;) {
        const void* found = std::memchr(at, '\n', static_cast<std::size_t>(end - at));
        if (found == nullptr) break;
        const char* line_feed = static_cast<const char*>(found);
        if (line_feed > data && line_feed[-1] == '\r') ++count;
        at = line_feed + 1;
    }
    return count;
}

// The position of the first `first` byte followed by `second` in the text;
// npos when there is none. Both separators of the request format are two
// bytes long: memchr finds the first byte and one compare checks the second.
std::size_t find_pair(std::string_view text, char first, char second) {
    const char* const data = text.data();
    const std::size_t size = text.size();
    for (std::size_t from = 0; from + 1 < size;) {
        const void* found = std::memchr(data + from, first, size - 1 - from);
        if (found == nullptr) break;
        const auto at = static_cast<std::size_t>(static_cast<const char*>(found) - data);
        if (data[at + 1] == second) return at;
        from = at + 1;
    }
    return std::string_view::npos;
}

// Takes one line off the front of `rest`: the text up to the first CR LF,
// which is dropped; without one, the whole rest.
std::string_view take_line(std::string_view& rest) {
    const std::size_t end = find_pair(rest, '\r', '\n');
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + kLineEnd.size());
    return line;
}

// Takes one line off the front of `rest` into `entry`: its key (up to the
// first ": ") and value. The entry is filled where it lies in the list, one
// word at a time: building the pair elsewhere and copying it in costs a
// stalled wide load per line.
void take_header_line(std::string_view& rest, HeaderList::value_type& entry) {
    const std::string_view line = take_line(rest);
    const std::size_t key_end = find_pair(line, ':', ' ');
    if (key_end == std::string_view::npos) {
        entry.first = line;
        return;
    }
    const std::size_t value_start = key_end + kKeySeparator.size();
    entry.first = line.substr(0, key_end);
    entry.second = line.substr(value_start);
}

}  // namespace

SakuraDLLHost::~SakuraDLLHost() = default;

bool SakuraDLLHost::load(const std::string&) { return true; }

bool SakuraDLLHost::unload() { return true; }

std::string SakuraDLLHost::getversionlist(std::string_view) { return std::string(); }

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

std::string SakuraDLLHost::request(std::string_view request_text) {
    std::string_view rest = request_text;
    const std::string_view request_line = take_line(rest);

    // The request line is cut at its last space: the command text may itself
    // hold spaces ("GET Version").
    std::string_view command_part = request_line;
    std::string_view protocol_part;
    const std::size_t space = request_line.rfind(' ');
    if (space != std::string_view::npos) {
        command_part = request_line.substr(0, space);
        protocol_part = request_line.substr(space + 1);
    }
    const std::string_view protocol = split_first(protocol_part, "/");
    const std::string_view version = protocol_part;

    // The list starts on the stack. When a request has more lines than fit
    // there, the rest of its lines are counted (every line but the last ends
    // in CR LF), so that the list is sized once and never held twice while
    // it grows; a request of a few long lines is not read an extra time.
    alignas(std::max_align_t) std::byte buffer[kHeaderBufferBytes];
    std::pmr::monotonic_buffer_resource memory(buffer, sizeof buffer);
    HeaderList request_headers(&memory);
    request_headers.reserve(kStackLines);
    while (!rest.empty()) {
        if (request_headers.size() == kStackLines) {
            request_headers.reserve(kStackLines + count_line_ends(rest) + 1);
        }
        take_header_line(rest, request_headers.emplace_back());
    }

    std::string response_protocol;
    std::string response_version;
    ResponseHeaders response_headers;
    const int status = handle_request(protocol, version, command_part, request_headers,
                                      response_protocol, response_version, response_headers);
    if (!response_headers.has_charset()) response_headers.add("Charset", "UTF-8");

    return response_headers.finish(response_protocol, response_version, status_text(status));
}
