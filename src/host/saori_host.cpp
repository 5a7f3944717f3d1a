#include "host/saori_host.h"

#include <string_view>

#include "common/stltool.h"

namespace {

constexpr std::string_view kArgumentKey = "Argument";
constexpr unsigned kMaxArgumentIndex = 65535;

}  // namespace

SaoriHost::~SaoriHost() = default;

ArgumentList collect_arguments(HeaderList& request_headers) {
    ArgumentList arguments;
    for (auto& [key, value] : request_headers) {
        if (std::string_view(key).substr(0, kArgumentKey.size()) != kArgumentKey) continue;
        // The index is read the way atoi reads it; negative values wrap above
        // the limit and are ignored with the too-large ones.
        const auto index = static_cast<unsigned>(
            parse_decimal(std::string_view(key).substr(kArgumentKey.size())));
        if (index > kMaxArgumentIndex) continue;
        if (index >= arguments.size()) arguments.resize(index + 1);
        arguments[index] = std::move(value);
    }
    return arguments;
}

int SaoriHost::handle_request(const std::string& protocol, const std::string&,
                              const std::string& command, HeaderList& request_headers,
                              std::string& response_protocol, std::string& response_version,
                              HeaderList& response_headers) {
    response_protocol = "SAORI";
    response_version = "1.0";
    if (protocol != "SAORI") return kStatusBadRequest;
    if (command == "GET Version") return kStatusOk;
    if (command != "EXECUTE") return kStatusBadRequest;

    ArgumentList arguments = collect_arguments(request_headers);
    ValueList values;
    CommandResult result;
    try {
        result = execute(arguments, values);
    } catch (...) {
        // A handler that fails this way (memory exhaustion, say) is answered
        // as an internal error rather than crossing the library boundary.
        values.clear();
        result = {kStatusInternalError, std::string()};
    }

    response_headers.reserve(2 + values.size());
    response_headers.emplace_back("Charset", "UTF-8");
    response_headers.emplace_back("Result", std::move(result.text));
    for (std::size_t n = 0; n < values.size(); ++n) {
        response_headers.emplace_back("Value" + std::to_string(n), std::move(values[n]));
    }
    return result.status;
}
