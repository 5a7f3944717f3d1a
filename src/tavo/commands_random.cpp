#include "tavo/commands.h"
#include "tavo/random.h"

CommandResult command_choice(ArgumentList& arguments, ValueList&) {
    if (arguments.empty()) return ok(std::string());
    // One draw per call, whatever the number of arguments.
    const auto draw = static_cast<uint32_t>(next_random31());
    return ok(arguments[draw % arguments.size()]);
}
