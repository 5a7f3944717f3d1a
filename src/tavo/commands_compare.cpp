// compare, compare_head and compare_tail: comparisons of two texts after both
// are turned to half width in every class, so that full-width and half-width
// letters, digits, symbols and katakana compare alike.
#include "common/stltool.h"
#include "tavo/commands.h"
#include "tavo/width_conversion.h"

#include <cstddef>
#include <string>
#include <utility>

namespace {

// The two arguments turned to half width (the second first).
std::pair<std::string, std::string> normalised_operands(const ArgumentList& arguments) {
    std::string second = to_half_width(arguments[1], kEveryWidthClass);
    std::string first = to_half_width(arguments[0], kEveryWidthClass);
    return {std::move(first), std::move(second)};
}

// Byte-for-byte equality with A-Z taken as a-z; every other byte as it is.
bool equal_ignoring_ascii_case(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
    }
    return true;
}

}  // namespace

CommandResult command_compare(ArgumentList& arguments, ValueList&) {
    if (arguments.size() != 2) return bad_request(kWrongArgumentCount);
    const auto [a, b] = normalised_operands(arguments);
    return yes_no(equal_ignoring_ascii_case(a, b));
}

CommandResult command_compare_head(ArgumentList& arguments, ValueList&) {
    if (arguments.size() != 2) return bad_request(kWrongArgumentCount);
    const auto [a, b] = normalised_operands(arguments);
    return yes_no(!a.empty() && !b.empty() && a.compare(0, b.size(), b) == 0);
}

CommandResult command_compare_tail(ArgumentList& arguments, ValueList&) {
    if (arguments.size() != 2) return bad_request(kWrongArgumentCount);
    const auto [a, b] = normalised_operands(arguments);
    return yes_no(ends_with(a, b));
}
