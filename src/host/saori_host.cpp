#include "host/saori_host.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <memory_resource>
#include <string_view>

#include "common/stltool.h"
#include "host/request_charset.h"

namespace {

constexpr std::string_view kArgumentKey = "Argument";
constexpr unsigned kMaxArgumentIndex = 65535;
constexpr std::string_view kSecurityLevelKey = "SecurityLevel";
constexpr std::string_view kExternal = "external";
constexpr std::string_view kCharsetKey = "Charset";
constexpr std::string_view kResultKey = "Result";
constexpr std::string_view kValueKey = "Value";

// Room for the argument and value lists of a request with a few of each:
// the map and the first block of each deque.
constexpr std::size_t kListBufferBytes = 2048;

std::size_t decimal_digits(std::size_t n) {
    std::size_t digits = 1;
    for (; n >= 10; n /= 10) ++digits;
    return digits;
}

}  // namespace

SaoriHost::~SaoriHost() = default;

ArgumentList collect_arguments(const HeaderList& request_headers, std::pmr::memory_resource* memory,
                               Charset charset) {
    ArgumentList arguments(memory);
    // The list's size, kept here: the deque works its own out of its
    // iterators, which it has only just stored.
    std::size_t count = 0;
    for (const auto& [key, value] : request_headers) {
        if (key.substr(0, kArgumentKey.size()) != kArgumentKey) continue;
        // The index is read the way atoi reads it; negative values wrap above
        // the limit and are ignored with the too-large ones.
        const auto index = static_cast<unsigned>(parse_decimal(key.substr(kArgumentKey.size())));
        if (index > kMaxArgumentIndex) continue;
        if (index == count) {
            if (charset == Charset::utf8) {
                arguments.emplace_back(value);
            } else {
                arguments.push_back(to_utf8(value, charset));
            }
            ++count;
            continue;
        }
        if (index > count) {
            count = index + 1;
            arguments.resize(count);
        }
        if (charset == Charset::utf8) {
            arguments[index].assign(value);
        } else {
            arguments[index] = to_utf8(value, charset);
        }
    }
    return arguments;
}

RequestOrigin request_origin(const HeaderList& request_headers) {
    for (const auto& [key, value] : request_headers) {
        if (key != kSecurityLevelKey || value.size() != kExternal.size()) continue;
        if (std::equal(value.begin(), value.end(), kExternal.begin(),
                       [](char a, char b) { return ascii_lower(a) == b; })) {
            return RequestOrigin::external;
        }
    }
    return RequestOrigin::local;
}

int SaoriHost::handle_request(std::string_view protocol, std::string_view,
                              std::string_view command, const HeaderList& request_headers,
                              std::string& response_protocol, std::string& response_version,
                              ResponseHeaders& response_headers) {
    response_protocol = "SAORI";
    response_version = "1.0";
    if (protocol != "SAORI") return kStatusBadRequest;
    if (command == "GET Version") return kStatusOk;
    if (command != "EXECUTE") return kStatusBadRequest;

    // Both lists start in a buffer on the stack and go on to the heap only
    // when they outgrow it.
    alignas(std::max_align_t) std::byte buffer[kListBufferBytes];
    std::pmr::monotonic_buffer_resource memory(buffer, sizeof buffer);
    const RequestCharset charset = request_charset(request_headers);
    ArgumentList arguments = collect_arguments(request_headers, &memory, charset.charset);
    ValueList values(&memory);
    CommandResult result;
    try {
        result = execute(arguments, values, request_origin(request_headers));
    } catch (...) {
        // A handler that fails this way (memory exhaustion, say) is answered
        // as an internal error rather than crossing the library boundary.
        values.clear();
        result = {kStatusInternalError, std::string()};
    }
    // The arguments are done with: a long response can take their memory.
    arguments.clear();
    encode_answer(result, values, charset.charset);

    // The lines are written into one text of their exact size.
    std::size_t size = ResponseHeaders::line_size(kCharsetKey.size(), charset.answer_label.size()) +
                       ResponseHeaders::line_size(kResultKey.size(), result.text.size());
    for (std::size_t n = 0; n < values.size(); ++n) {
        size += ResponseHeaders::line_size(kValueKey.size() + decimal_digits(n), values[n].size());
    }
    response_headers.expect_status(response_protocol, response_version, status_text(result.status));
    response_headers.reserve(size);
    response_headers.add(kCharsetKey, charset.answer_label);
    response_headers.add(kResultKey, result.text);
    char key[32];
    kValueKey.copy(key, kValueKey.size());
    for (std::size_t n = 0; n < values.size(); ++n) {
        char* const end = std::to_chars(key + kValueKey.size(), key + sizeof key, n).ptr;
        response_headers.add(std::string_view(key, static_cast<std::size_t>(end - key)), values[n]);
    }
    return result.status;
}
