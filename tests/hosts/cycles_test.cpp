// A host that loads the module for a few calls and unloads it again, over and
// over in one process: every answer stays right, the process's memory stays
// flat, and afterwards the module file can be deleted (nothing keeps it
// loaded).
//
//   cycles-test MODULE [CYCLES]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/module_client.h"
#include "platform/module_host.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {

constexpr long kWarmUpCycles = 300;
constexpr std::size_t kMaxGrowthBytes = 256 * 1024;

struct Exchange {
    std::vector<std::string> arguments;  // empty: GET Version
    std::string response;
};

std::string ok_response(const std::string& result, const std::vector<std::string>& values = {}) {
    std::string text = "SAORI/1.0 200 OK\r\nCharset: UTF-8\r\nResult: " + result + "\r\n";
    for (std::size_t n = 0; n < values.size(); ++n) {
        text += "Value" + std::to_string(n) + ": " + values[n] + "\r\n";
    }
    return text + "\r\n";
}

const std::vector<Exchange>& exchanges() {
    static const std::vector<Exchange> list = {
        {{}, "SAORI/1.0 200 OK\r\nCharset: UTF-8\r\n\r\n"},
        {{"calc", "1+2*3"}, ok_response("7")},
        {{"choice", "あ"}, ok_response("あ")},
        {{"split", "a,b", ","}, ok_response("2", {"a", "b"})},
        {{"zen2han", "ＡＢＣ１２３"}, ok_response("ABC123")},
        {{"sprintf", "%05d", "42"}, ok_response("00042")},
        {{"nosuch"},
         "SAORI/1.0 400 Bad Request\r\nCharset: UTF-8\r\nResult: Error: 'nosuch'"
         "という名前の命令は定義されていません。\r\n\r\n"},
    };
    return list;
}

// One host session: load, the exchanges, unload. False at the first wrong answer.
bool run_cycle(const std::string& path, long cycle) {
    platform::ModuleExports module;
    std::string error;
    if (!load_module(path, module, error)) {
        std::printf("FAIL cycle %ld: %s\n", cycle, error.c_str());
        return false;
    }
    bool right = send_load(module.load, fs::path(path).parent_path().string()) == TRUE;
    for (const Exchange& exchange : exchanges()) {
        const std::string request = exchange.arguments.empty() ? "GET Version SAORI/1.0\r\n\r\n"
                                                               : execute_request(exchange.arguments);
        const auto response = send_request(module.request, request);
        if (!response || *response != exchange.response) {
            std::printf("FAIL cycle %ld: %s answered [%s]\n", cycle, request.c_str(),
                        response.value_or("(nothing)").c_str());
            right = false;
        }
    }
    right = module.unload() == TRUE && right;
    unload_module(module);
    return right;
}

}  // namespace

int main(int argc, char** argv) {
    platform::exit_on_crash();
    if (argc < 2) {
        std::fputs("usage: cycles-test MODULE [CYCLES]\n", stderr);
        return 2;
    }
    const long cycles = argc > 2 ? std::atol(argv[2]) : 5000;

    // A copy of its own, so that deleting it at the end leaves the build alone.
    const fs::path original = argv[1];
    const fs::path copy = fs::temp_directory_path() /
                          ("tavo-cycles-" + std::to_string(platform::tick_count()) +
                           original.extension().string());
    fs::copy_file(original, copy, fs::copy_options::overwrite_existing);

    long passed = 0;
    long failed = 0;
    std::size_t warm_memory = 0;
    for (long cycle = 1; cycle <= cycles && failed == 0; ++cycle) {
        if (run_cycle(copy.string(), cycle)) {
            ++passed;
        } else {
            ++failed;
        }
        if (cycle == kWarmUpCycles) warm_memory = platform::process_memory_bytes();
    }
    const std::size_t end_memory = platform::process_memory_bytes();
    const long growth = static_cast<long>(end_memory) - static_cast<long>(warm_memory);
    std::printf("memory after %ld cycles: %zu KiB, after %ld: %zu KiB (%+ld KiB)\n", kWarmUpCycles,
                warm_memory / 1024, cycles, end_memory / 1024, growth / 1024);
    if (cycles > kWarmUpCycles) {
        if (growth < static_cast<long>(kMaxGrowthBytes)) {
            ++passed;
        } else {
            std::printf("FAIL memory grew by %ld KiB\n", growth / 1024);
            ++failed;
        }
    }

    std::error_code removed;
    fs::remove(copy, removed);
    if (removed) {
        std::printf("FAIL the module file cannot be deleted after unloading: %s\n",
                    removed.message().c_str());
        ++failed;
    } else {
        ++passed;
    }
    std::printf("%ld passed, %ld failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
