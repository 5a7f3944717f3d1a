// Sends every protocol case through the exports of a module file, loaded as
// a host loads it, and compares the response bytes.
//
//   protocol-runner MODULE CASES_DIRECTORY
//
// The cases run in a new empty folder, made the current directory, so that the
// paths of lsimg and mkdir cases start from nothing; it is removed afterwards.
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

// A new empty folder of this run's own: runners started at the same moment
// (the plain run and the one under valgrind) each get a different one.
std::filesystem::path make_scratch_folder() {
    const std::filesystem::path base = std::filesystem::absolute(std::filesystem::temp_directory_path());
    const std::string stem = "tavo-cases-" + std::to_string(platform::tick_count()) + "-";
    for (unsigned n = 0;; ++n) {
        const std::filesystem::path folder = base / (stem + std::to_string(n));
        if (std::filesystem::create_directory(folder)) return folder;
    }
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
    const std::string directory = std::filesystem::absolute(argv[2]).string();
    if (send_load(module.load, directory) != TRUE) {
        std::fputs("load returned FALSE\n", stderr);
        return 2;
    }

    const std::filesystem::path scratch = make_scratch_folder();
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(scratch);

    int passed = 0;
    int failed = 0;
    for (const std::string& file : case_files(directory)) {
        std::vector<ProtocolCase> cases;
        if (!read_case_file(file, cases, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            ++failed;
            continue;
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
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(scratch);
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}
