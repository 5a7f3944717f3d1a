// Sends every protocol case through the exports of a module file, loaded as
// a host loads it, and compares the response bytes.
//
//   protocol-runner MODULE CASES_DIRECTORY
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "case_file.h"
#include "cli/module_client.h"
#include "platform/module_host.h"
#include "platform/platform.h"

namespace {

std::vector<std::string> case_files(const std::string& directory) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        if (entry.path().extension() == ".cases") files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    platform::exit_on_crash();
    if (argc != 3) {
        std::fputs("usage: protocol-runner MODULE CASES_DIRECTORY\n", stderr);
        return 2;
    }
    platform::ModuleExports module;
    std::string error;
    if (!load_module(argv[1], module, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    const std::string directory = argv[2];
    if (send_load(module.load, directory) != TRUE) {
        std::fputs("load returned FALSE\n", stderr);
        return 2;
    }

    int passed = 0;
    int failed = 0;
    for (const std::string& file : case_files(directory)) {
        std::vector<ProtocolCase> cases;
        if (!read_case_file(file, cases, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 2;
        }
        for (const ProtocolCase& c : cases) {
            const auto response = send_request(module.request, c.request);
            if (response && *response == c.expected_response) {
                ++passed;
                continue;
            }
            ++failed;
            std::printf("FAIL %s (%s)\n  request:  %s\n  expected: %s\n  actual:   %s\n", c.name.c_str(),
                        c.location.c_str(), printable(c.request).c_str(),
                        printable(c.expected_response).c_str(),
                        response ? printable(*response).c_str() : "(no block)");
        }
    }
    module.unload();
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}
