// tavo-cli: loads a module the way a host does and sends it one request.
//
//   tavo-cli [--module PATH] --raw              request from standard input,
//                                               response bytes to standard output
//   tavo-cli [--module PATH] COMMAND [ARG...]   EXECUTE the command, print the
//                                               Result and then each Value
//
// Exit status: 0 for 200 and 204, 1 for 400, 2 for any other status, 3 when
// the module cannot be loaded or answers nothing, 4 for a usage error.
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/module_client.h"
#include "platform/module_host.h"

namespace {

constexpr int kExitBadRequest = 1;
constexpr int kExitOtherStatus = 2;
constexpr int kExitModuleError = 3;
constexpr int kExitUsage = 4;

const char kUsage[] =
    "usage: tavo-cli [--module PATH] --raw\n"
    "       tavo-cli [--module PATH] COMMAND [ARG...]\n";

int exit_status_for(int status) {
    if (status == 200 || status == 204) return 0;
    return status == 400 ? kExitBadRequest : kExitOtherStatus;
}

void write_bytes(const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    platform::use_binary_stdio();
    std::vector<std::string> arguments = platform::utf8_arguments(argc, argv);
    if (!arguments.empty()) arguments.erase(arguments.begin());

    std::string module_path = platform::default_module_path();
    if (arguments.size() >= 2 && arguments[0] == "--module") {
        module_path = arguments[1];
        arguments.erase(arguments.begin(), arguments.begin() + 2);
    }
    if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h") {
        std::fputs(kUsage, arguments.empty() ? stderr : stdout);
        return arguments.empty() ? kExitUsage : 0;
    }
    const bool raw = arguments[0] == "--raw";
    if (raw && arguments.size() != 1) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }

    platform::ModuleExports module;
    std::string error;
    if (!platform::load_module(module_path, module, error)) {
        std::fprintf(stderr, "tavo-cli: %s\n", error.c_str());
        return kExitModuleError;
    }

    const std::string request =
        raw ? std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>())
            : execute_request(arguments);
    const auto response = send_request(module.request, request);
    if (!response) {
        std::fputs("tavo-cli: the module returned no response\n", stderr);
        return kExitModuleError;
    }
    const ParsedResponse parsed = parse_response(*response);
    if (raw) {
        write_bytes(*response);
    } else {
        std::string text = parsed.result + "\n";
        for (const std::string& value : parsed.values) text += value + "\n";
        write_bytes(text);
    }
    return exit_status_for(parsed.status);
}
