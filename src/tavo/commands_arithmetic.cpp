// calc, calc_float, if and unless: the expression evaluators in front of the
// scripts. A failed evaluation quotes the expression as it was received.
#include "common/calc.h"
#include "common/calc_float.h"
#include "common/stltool.h"
#include "tavo/commands.h"

#include <string>
#include <utility>

namespace {

CommandResult cannot_evaluate(const std::string& expression) {
    return bad_request("'" + expression + "' 式が計算不能です。");
}

// calc and calc_float: exactly one argument, the expression.
CommandResult evaluate_argument(const ArgumentList& arguments, bool (*evaluate)(std::string&)) {
    if (arguments.size() != 1) return bad_request(kWrongArgumentCount);
    std::string expression = arguments[0];
    if (!evaluate(expression)) return cannot_evaluate(arguments[0]);
    return ok(std::move(expression));
}

// if and unless: the condition, the text it selects and optionally the
// text otherwise. `selects` reads the evaluated condition.
CommandResult choose_by_condition(const ArgumentList& arguments,
                                  bool (*selects)(const std::string& condition)) {
    if (arguments.size() < 2 || arguments.size() > 3) return bad_request(kWrongArgumentCount);
    std::string condition = arguments[0];
    if (!calc_expression(condition)) return cannot_evaluate(arguments[0]);
    if (selects(condition)) return ok(arguments[1]);
    if (arguments.size() == 3) return ok(arguments[2]);
    return no_content();
}

}  // namespace

CommandResult command_calc(ArgumentList& arguments, ValueList&) {
    return evaluate_argument(arguments, calc_expression);
}

CommandResult command_calc_float(ArgumentList& arguments, ValueList&) {
    return evaluate_argument(arguments, calc_float_expression);
}

CommandResult command_if(ArgumentList& arguments, ValueList&) {
    return choose_by_condition(
        arguments, [](const std::string& condition) { return parse_int(condition) != 0; });
}

// unless selects its text when the condition is false, and only the exact
// text "0" is false.
CommandResult command_unless(ArgumentList& arguments, ValueList&) {
    return choose_by_condition(arguments,
                               [](const std::string& condition) { return condition == "0"; });
}
