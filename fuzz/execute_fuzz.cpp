// Well-formed EXECUTE requests: the first byte picks one of the 32 commands,
// the rest is cut at line feeds into up to six arguments of arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/module_client.h"
#include "host/exports.h"


namespace {

const char* const kCommands[] = {
    "calc",    "calc_float",    "if",        "unless",      "nswitch",      "switch",
    "iflist",  "substr",        "split",     "join",        "replace",      "replace_first",
    "erase",   "erase_first",   "count",     "compare",     "compare_head", "compare_tail",
    "length",  "is_empty",      "is_digit",  "is_alpha",    "zen2han",      "han2zen",
    "hira2kata", "kata2hira",   "sprintf",   "reverse",     "at",           "choice",
    "lsimg",   "mkdir"};
constexpr std::size_t kCommandCount = sizeof kCommands / sizeof kCommands[0];
constexpr std::size_t kMaxArguments = 6;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string command = kCommands[data[0] % kCommandCount];
    // The file-system commands would touch the disk; they get no arguments.
    const bool touches_disk = command == "lsimg" || command == "mkdir";
    std::vector<std::string> arguments = {command};
    std::string current;
    for (std::size_t i = 1; i < size && !touches_disk; ++i) {
        if (data[i] != '\n') {
            current += static_cast<char>(data[i]);
        } else if (arguments.size() < kMaxArguments) {
            arguments.push_back(current);
            current.clear();
        }
    }
    if (!touches_disk) arguments.push_back(current);
    const auto response = send_request(request, execute_request(arguments));
    if (!response || response->compare(0, 10, "SAORI/1.0 ") != 0) __builtin_trap();
    return 0;
}
