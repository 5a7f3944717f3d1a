#include "host/sakura_dll_host.h"

#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <memory_resource>

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kKeySeparator = ": ";

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

// "protocol/version status" and CR LF, as its parts.
class StatusLine {
public:
    StatusLine(std::string_view protocol, std::string_view version, std::string_view status)
        : parts_{protocol, "/", version, " ", status, kLineEnd} {
        for (const std::string_view part : parts_) size_ += part.size();
    }

    std::size_t size() const { return size_; }

    // Writes the line at `at`, which has room for size() bytes.
    void write(char* at) const {
        for (const std::string_view part : parts_) at += part.copy(at, part.size());
    }

private:
    std::string_view parts_[6];
    std::size_t size_ = 0;
};

}  // namespace

// The final empty line.
constexpr std::size_t kFinalLineBytes = 2;

void ResponseHeaders::expect_status(std::string_view protocol, std::string_view version,
                                    std::string_view status) {
    expected_[0] = protocol;
    expected_[1] = version;
    expected_[2] = status;
    has_expected_ = true;
}

void ResponseHeaders::spill(std::size_t bytes) {
    const std::size_t lines = short_end_ - kStatusLineRoom;
    text_.reserve(text_.size() + kStatusLineRoom + lines + bytes + kFinalLineBytes);
    // A long response starts with the status line it expects, so that its
    // lines need not move when that line is the one it gets.
    if (!spilled_ && has_expected_) {
        const StatusLine line(expected_[0], expected_[1], expected_[2]);
        text_.resize(line.size());
        line.write(&text_[0]);
        expected_in_text_ = true;
    }
    text_.append(short_ + kStatusLineRoom, lines);
    short_end_ = kStatusLineRoom;
    spilled_ = true;
}

void ResponseHeaders::reserve(std::size_t bytes) {
    if (spilled_ || short_end_ + bytes > sizeof short_) spill(bytes);
}

void ResponseHeaders::add(std::string_view key, std::string_view value) {
    has_charset_ = has_charset_ || key == "Charset";
    const std::size_t size = line_size(key.size(), value.size());
    if (!spilled_ && short_end_ + size > sizeof short_) spill(size);
    if (spilled_) {
        text_.append(key).append(kKeySeparator).append(value).append(kLineEnd);
        return;
    }
    for (const std::string_view part : {key, kKeySeparator, value, kLineEnd}) {
        std::memcpy(short_ + short_end_, part.data(), part.size());
        short_end_ += part.size();
    }
}

std::string ResponseHeaders::finish(std::string_view protocol, std::string_view version,
                                    std::string_view status) {
    const StatusLine line(protocol, version, status);
    has_charset_ = false;
    const bool fits = line.size() <= kStatusLineRoom && short_end_ + kFinalLineBytes <= sizeof short_;
    if (!spilled_ && !fits) spill(0);

    if (!spilled_) {
        // The status line goes into the room in front of the lines.
        const std::size_t start = kStatusLineRoom - line.size();
        line.write(short_ + start);
        std::memcpy(short_ + short_end_, kLineEnd.data(), kLineEnd.size());
        const std::size_t end = short_end_ + kLineEnd.size();
        short_end_ = kStatusLineRoom;
        has_expected_ = false;
        return std::string(short_ + start, end - start);
    }

    // The status line goes in front of the lines: in the place of the
    // expected one, which is left as it is when it is the same.
    const bool as_expected = expected_in_text_ && protocol == expected_[0] &&
                             version == expected_[1] && status == expected_[2];
    if (!as_expected) {
        std::string written(line.size(), '\0');
        line.write(&written[0]);
        const std::size_t replaced =
            expected_in_text_ ? StatusLine(expected_[0], expected_[1], expected_[2]).size() : 0;
        text_.replace(0, replaced, written);
    }
    text_.append(kLineEnd);
    spilled_ = false;
    expected_in_text_ = false;
    has_expected_ = false;
    return std::move(text_);
}

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
