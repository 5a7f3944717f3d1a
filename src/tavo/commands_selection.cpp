// switch, iflist and nswitch: pick one argument text. After the value come
// (case, text) pairs; an even argument count leaves a last default text.
#include "common/calc.h"
#include "common/stltool.h"
#include "tavo/commands.h"

#include <string>

namespace {

// Builds the expression of the pair that starts at argument `index` (0-based).
using ComposeCondition = std::string (*)(const ArgumentList& arguments, std::size_t index);

// switch and iflist: the first pair whose expression evaluates to a nonzero
// number gives its text; the search stops at the first expression that
// cannot be evaluated.
CommandResult select_pair(const ArgumentList& arguments, const char* command_name,
                          ComposeCondition compose) {
    if (arguments.size() < 2) return bad_request(kTooFewArguments);
    for (std::size_t index = 1; index < arguments.size(); index += 2) {
        if (index + 1 == arguments.size()) return ok(arguments[index]);
        const std::string expression = compose(arguments, index);
        std::string condition = expression;
        if (!calc_expression(condition)) {
            const std::size_t pair_number = (index + 1) / 2;
            return bad_request(command_name + std::to_string(pair_number) + "個目、式 '" +
                               expression + "' は計算不能でした。");
        }
        if (parse_int(condition) != 0) return ok(arguments[index + 1]);
    }
    return no_content();
}

}  // namespace

CommandResult command_switch(ArgumentList& arguments, ValueList&) {
    return select_pair(arguments, "switchの", [](const ArgumentList& args, std::size_t index) {
        return "(" + args[0] + ")==(" + args[index] + ")";
    });
}

// The value is the left part of each condition, joined without parentheses.
CommandResult command_iflist(ArgumentList& arguments, ValueList&) {
    return select_pair(arguments, "iflistの", [](const ArgumentList& args, std::size_t index) {
        return args[0] + args[index];
    });
}

// The first argument is a number, not an expression: 1 picks the argument
// after it.
CommandResult command_nswitch(ArgumentList& arguments, ValueList&) {
    if (arguments.size() < 2) return bad_request(kTooFewArguments);
    const int32_t choice = parse_int(arguments[0]);
    if (choice >= 1 && static_cast<std::size_t>(choice) < arguments.size()) {
        return ok(arguments[static_cast<std::size_t>(choice)]);
    }
    return no_content();
}
