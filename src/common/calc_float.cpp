#include "common/calc_float.h"

#include "common/calc.h"
#include "common/numeric_text.h"
#include "common/simple_stack.h"
#include "common/stltool.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory_resource>
#include <string_view>

namespace {

// As in the integer evaluator, comparisons bind tighter than arithmetic;
// there is no "%", "=~" or "!~".
constexpr BinaryOperator kOperators[] = {
    {"&&", 40}, {"||", 35}, {"==", 45}, {"!=", 45}, {"<=", 80}, {">=", 80},
    {"<", 80},  {">", 80},  {"+", 60},  {"-", 60},  {"*", 70},  {"/", 70},
};

constexpr Replacement kNormalisations[] = {
    {"＋", "+"}, {"－", "-"}, {"＊", "*"}, {"×", "*"}, {"／", "/"}, {"÷", "/"}, {"＜", "<"},
    {"＞", ">"}, {"＝", "="}, {"！", "!"}, {"＆", "&"}, {"｜", "|"}, {"（", "("}, {"）", ")"},
    {"０", "0"}, {"１", "1"}, {"２", "2"}, {"３", "3"}, {"４", "4"}, {"５", "5"}, {"６", "6"},
    {"７", "7"}, {"８", "8"}, {"９", "9"}, {"．", "."},
};

bool is_number_char(char c) { return is_ascii_digit(c) || c == '.'; }

// A run of digits and "." with at most one ".".
bool read_number(TokenScan& scan) {
    const std::string_view text = scan.text;
    std::size_t end = scan.pos;
    while (end < text.size() && is_number_char(text[end])) ++end;
    const std::string_view number = text.substr(scan.pos, end - scan.pos);
    if (number.empty() || std::count(number.begin(), number.end(), '.') > 1) return false;
    scan.tokens.push_back({number, kOperandPriority});
    scan.pos = end;
    return true;
}

constexpr ExpressionSyntax kSyntax = {kOperators, std::size(kOperators), read_number};

// One of the table's operators, told apart by its first character and, for
// "<=" and ">=", its length.
double apply_binary(std::string_view op, double left, double right) {
    const bool or_equal = op.size() == 2;
    switch (op[0]) {
        case '*': return left * right;
        case '/': return left / right;
        case '+': return left + right;
        case '-': return left - right;
        case '<': return or_equal ? left <= right : left < right;
        case '>': return or_equal ? left >= right : left > right;
        case '=': return left == right;
        case '!': return left != right;
        case '&': return left != 0 && right != 0;
        default: return left != 0 || right != 0;
    }
}

// Runs the postfix tokens (all but the final "Guard") over a stack of doubles.
double evaluate_postfix(const TokenList& postfix) {
    simple_stack<double> values(postfix.get_allocator().resource());
    for (std::size_t i = 0; i + 1 < postfix.size(); ++i) {
        const Token& token = postfix[i];
        if (token.priority == kOperandPriority) {
            // Digits with at most one ".": "." alone is 0, "5." is 5, ".5" is 0.5.
            values.push(parse_double(token.text));
        } else if (token.priority == kPrefixPriority) {
            // A run of prefix operators applies from its last one.
            double& value = values.peek();
            for (auto op = token.text.rbegin(); op != token.text.rend(); ++op) {
                if (*op == '!') value = value == 0 ? 1 : 0;
                if (*op == '-') value = -value;
            }
        } else {
            const double result = apply_binary(token.text, values.peek(1), values.peek(0));
            values.drop(2);
            values.push(result);
        }
    }
    return values.pop();
}

}  // namespace

bool calc_float_expression(std::string& text) {
    normalise_expression(text, kNormalisations, std::size(kNormalisations));

    alignas(std::max_align_t) std::byte buffer[kExpressionBufferBytes];
    std::pmr::monotonic_buffer_resource memory(buffer, sizeof buffer);
    TokenList tokens(&memory);
    if (!tokenize(text, kSyntax, tokens)) return false;
    to_postfix(tokens);
    text = format_fixed_trimmed(evaluate_postfix(tokens));
    return true;
}
