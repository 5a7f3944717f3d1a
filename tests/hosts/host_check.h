// A tiny check harness for the test hosts: programs that load the module file
// as a host does (also under Wine, where GoogleTest is not built).
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/module_client.h"
#include "platform/module_host.h"

// Counts checks and prints each failed one.
class CheckCount {
public:
    void expect(bool condition, const std::string& what) {
        if (condition) {
            ++passed_;
        } else {
            ++failed_;
            std::printf("FAIL %s\n", what.c_str());
        }
    }

    // Prints the count line and gives the exit status.
    int finish() const {
        std::printf("%d passed, %d failed\n", passed_, failed_);
        return failed_ == 0 ? 0 : 1;
    }

private:
    int passed_ = 0;
    int failed_ = 0;
};

// The names in byte order, for listings whose order the system chooses.
inline std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}
class HostCheck : public CheckCount {
public:
    // Loads the module named on the command line; exits with 2 on failure.
    HostCheck(int argc, char** argv) {
        platform::exit_on_crash();
        std::string error;
        if (argc < 2 || !load_module(argv[1], module_, error)) {
            std::fprintf(stderr, "cannot load the module: %s\n", error.c_str());
            std::exit(2);
        }
    }

    const platform::ModuleExports& module() const { return module_; }

    // Sends the arguments, written in `charset`, with that Charset line.
    ParsedResponse execute(const std::vector<std::string>& arguments, std::string_view charset = "UTF-8") const {
        const auto response = send_request(module_.request, execute_request(arguments, charset));
        return parse_response(response.value_or(std::string()));
    }

private:
    platform::ModuleExports module_;
};

// A `choice` request over the texts "0" to "count - 1".
inline std::vector<std::string> numbered_choice(int count) {
    std::vector<std::string> arguments = {"choice"};
    for (int n = 0; n < count; ++n) arguments.push_back(std::to_string(n));
    return arguments;
}

// The picks of `draws` such requests over `choices` texts when the module's
// generator (MT19937, each draw shifted right by one) was seeded with `seed`.
inline std::vector<int> generator_picks(uint32_t seed, std::size_t draws, int choices) {
    std::mt19937 engine(seed);
    std::vector<int> picks;
    picks.reserve(draws);
    while (picks.size() < draws) {
        picks.push_back(static_cast<int>((engine() >> 1) % static_cast<uint32_t>(choices)));
    }
    return picks;
}
