// tavo-cli: loads a module the way a host does and sends it one request.
//
//   tavo-cli [OPTION...] --raw              request from standard input,
//                                           response bytes to standard output
//   tavo-cli [OPTION...] COMMAND [ARG...]   EXECUTE the command, print the
//                                           Result and then each Value
//   tavo-cli --version
//
// Options: --module PATH (default: the module beside tavo-cli),
// --convention windows|posix (load, request and unload; or
// <stem>_saori_load, _request and _unload with an instance id), and, for a
// command, --charset NAME: the arguments are sent in that charset with
// "Charset: NAME", and the answer is read back from it.
//
// Exit status: 0 for 200 and 204, 1 for 400, 2 for any other status, 3 when
// the module cannot be loaded or answers nothing, 4 for a usage error.
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/module_client.h"
#include "common/charset.h"
#include "platform/module_host.h"

namespace {

constexpr int kExitBadRequest = 1;
constexpr int kExitOtherStatus = 2;
constexpr int kExitModuleError = 3;
constexpr int kExitUsage = 4;

const char kUsage[] =
    "usage: tavo-cli [--module PATH] [--convention windows|posix] --raw\n"
    "       tavo-cli [--module PATH] [--convention windows|posix] [--charset NAME] COMMAND [ARG...]\n"
    "       tavo-cli --version\n"
    "NAME: UTF-8 (the default), Shift_JIS (or SJIS, CP932, MS932, Windows-31J, x-sjis) or EUC-JP\n";

struct Options {
    std::string module_path = platform::default_module_path();
    Convention convention = Convention::windows;
    std::string charset_label = "UTF-8";
    Charset charset = Charset::utf8;
    std::vector<std::string> rest;  // --raw, or the command and its arguments
};

// Reads the options in front of the command; false on a usage error.
bool read_options(const std::vector<std::string>& arguments, Options& options) {
    std::size_t next = 0;
    bool charset_given = false;
    while (next < arguments.size() &&
           (arguments[next] == "--module" || arguments[next] == "--convention" || arguments[next] == "--charset")) {
        if (next + 1 == arguments.size()) return false;
        const std::string& value = arguments[next + 1];
        if (arguments[next] == "--module") {
            options.module_path = value;
        } else if (arguments[next] == "--charset") {
            const auto charset = charset_named(value);
            if (!charset) return false;
            options.charset = *charset;
            options.charset_label = value;
            charset_given = true;
        } else if (value == "windows" || value == "posix") {
            options.convention = value == "posix" ? Convention::posix : Convention::windows;
        } else {
            return false;
        }
        next += 2;
    }
    options.rest.assign(arguments.begin() + static_cast<std::ptrdiff_t>(next), arguments.end());
    if (options.rest.empty()) return false;
    return options.rest[0] != "--raw" || (options.rest.size() == 1 && !charset_given);
}

// The command and its arguments in the charset of the options.
std::vector<std::string> encoded(const std::vector<std::string>& texts, Charset charset) {
    std::vector<std::string> bytes;
    for (const std::string& text : texts) bytes.push_back(from_utf8(text, charset));
    return bytes;
}

int exit_status_for(int status) {
    if (status == 200 || status == 204) return 0;
    return status == 400 ? kExitBadRequest : kExitOtherStatus;
}

}  // namespace

int main(int argc, char** argv) {
    platform::use_binary_stdio();
    std::vector<std::string> arguments = platform::utf8_arguments(argc, argv);
    if (!arguments.empty()) arguments.erase(arguments.begin());

    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        platform::write_text(stdout, kUsage);
        return 0;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        platform::write_text(stdout, "tavo-cli " TAVO_VERSION "\n");
        return 0;
    }
    Options options;
    if (!read_options(arguments, options)) {
        platform::write_text(stderr, kUsage);
        return kExitUsage;
    }

    const bool raw = options.rest[0] == "--raw";
    const std::string request =
        raw ? std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>())
            : execute_request(encoded(options.rest, options.charset), options.charset_label);
    std::string error;
    const auto response = exchange_once(options.module_path, options.convention, request, error);
    if (!response) {
        platform::write_text(stderr, "tavo-cli: " + error + "\n");
        return kExitModuleError;
    }
    const ParsedResponse parsed = parse_response(*response);
    if (raw) {
        platform::write_text(stdout, *response);
    } else {
        std::string text = to_utf8(parsed.result, options.charset) + "\n";
        for (const std::string& value : parsed.values) text += to_utf8(value, options.charset) + "\n";
        platform::write_text(stdout, text);
    }
    return exit_status_for(parsed.status);
}
