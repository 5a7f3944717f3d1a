#include "common/calc.h"

#include "common/simple_stack.h"
#include "common/stltool.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory_resource>
#include <limits>

namespace {

// The priorities of the other tokens: the final "Guard" and ")" rank below
// every operator, "(" above everything.
constexpr int32_t kGuardPriority = 0;
constexpr int32_t kClosePriority = 10;
constexpr int32_t kOpenPriority = 110;

// Deepest nesting of parentheses an expression may have; deeper ones fail.
constexpr int kMaxNesting = 256;

// Longest text an operator may produce, and the most bytes the value stack
// may hold at once; beyond them the evaluation fails instead of allocating.
constexpr std::size_t kMaxTextBytes = 16777216;
constexpr std::size_t kMaxHeldBytes = 4 * kMaxTextBytes;

// Most bytes the text operators of one expression may read and write in all;
// beyond it the evaluation fails. A few bytes can ask for a 16 MiB text and
// then for one pass over it per further operator: this bounds the time.
constexpr uint64_t kMaxTextWork = uint64_t{256} << 20;

// Comparisons bind tighter than arithmetic on purpose: 1+2<3 is 1+(2<3).
constexpr BinaryOperator kOperators[] = {
    {"&&", 40}, {"||", 35}, {"==", 45}, {"!=", 45}, {"<=", 80}, {">=", 80}, {"=~", 75}, {"!~", 75},
    {"<", 80},  {">", 80},  {"+", 60},  {"-", 60},  {"*", 70},  {"/", 70},  {"%", 70},
};

// Full-width operators and digits to ASCII. "＝～" and "！～" come before "＝"
// and "！" so that they become the pattern operators.
constexpr Replacement kNormalisations[] = {
    {"＝～", "=~"}, {"！～", "!~"}, {"＋", "+"}, {"－", "-"}, {"＊", "*"}, {"×", "*"}, {"／", "/"},
    {"÷", "/"},     {"％", "%"},    {"＾", "^"}, {"＜", "<"}, {"＞", ">"}, {"＝", "="}, {"！", "!"},
    {"＆", "&"},    {"｜", "|"},    {"（", "("}, {"）", ")"}, {"０", "0"}, {"１", "1"}, {"２", "2"},
    {"３", "3"},    {"４", "4"},    {"５", "5"}, {"６", "6"}, {"７", "7"}, {"８", "8"}, {"９", "9"},
};

bool is_prefix_operator(char c) { return c == '!' || c == '+' || c == '-'; }

// The first operator of the table whose text begins at `pos`, or nullptr.
const BinaryOperator* match_operator(const ExpressionSyntax& syntax, std::string_view text,
                                     std::size_t pos) {
    // Operators are one or two characters.
    const char first = text[pos];
    const char second = pos + 1 < text.size() ? text[pos + 1] : '\0';
    for (std::size_t i = 0; i < syntax.operator_count; ++i) {
        const std::string_view op = syntax.operators[i].text;
        if (op[0] == first && (op.size() == 1 || op[1] == second)) return &syntax.operators[i];
    }
    return nullptr;
}

bool read_operand(TokenScan& scan);

constexpr ExpressionSyntax kSyntax = {kOperators, std::size(kOperators), read_operand};

// A text operand runs up to the next operator or "!".
bool ends_text_operand(std::string_view text, std::size_t pos) {
    switch (text[pos]) {
        case '!':
            return true;
        case '&': case '|': case '=': case '<': case '>': case '+': case '-': case '*': case '/':
        case '%':
            return match_operator(kSyntax, text, pos) != nullptr;
        default:
            return false;
    }
}

// A digit run followed by the end, ")" or an operator is a number; anything
// else makes the whole run the start of a text operand.
bool read_operand(TokenScan& scan) {
    const std::string_view text = scan.text;
    const std::size_t start = scan.pos;
    std::size_t end = start;
    while (end < text.size() && is_ascii_digit(text[end])) ++end;
    if (end > start &&
        (end == text.size() || text[end] == ')' || match_operator(kSyntax, text, end) != nullptr)) {
        scan.tokens.push_back({text.substr(start, end - start), kOperandPriority});
        scan.pos = end;
        return true;
    }
    if (match_operator(kSyntax, text, start) != nullptr) return false;
    end = start + utf8_step(text, start);
    while (end < text.size() && !ends_text_operand(text, end)) end += utf8_step(text, end);
    scan.tokens.push_back({text.substr(start, end - start), kOperandPriority});
    scan.pos = end;
    return true;
}

// Operand position then operator position, in turn, until the end of the
// text or a ")" that this level leaves to its caller.
bool tokenize_level(TokenScan& scan, const ExpressionSyntax& syntax, int depth);

// "(" at the cursor: the sub-expression and its ")".
bool tokenize_group(TokenScan& scan, const ExpressionSyntax& syntax, int depth) {
    if (depth >= kMaxNesting) return false;
    scan.tokens.push_back({"(", kOpenPriority});
    ++scan.pos;
    if (!tokenize_level(scan, syntax, depth + 1)) return false;
    // The sub-expression stopped at the end of the text or at its ")".
    if (scan.pos == scan.text.size()) return false;
    ++scan.pos;
    scan.tokens.push_back({")", kClosePriority});
    return true;
}

bool tokenize_level(TokenScan& scan, const ExpressionSyntax& syntax, int depth) {
    const std::string_view text = scan.text;
    for (;;) {
        const std::size_t prefix_start = scan.pos;
        while (scan.pos < text.size() && is_prefix_operator(text[scan.pos])) ++scan.pos;
        if (scan.pos > prefix_start) {
            scan.tokens.push_back({text.substr(prefix_start, scan.pos - prefix_start), kPrefixPriority});
        }
        if (scan.pos == text.size()) return false;
        const bool operand_read = text[scan.pos] == '('
                                      ? tokenize_group(scan, syntax, depth)
                                      : syntax.read_operand(scan);
        if (!operand_read) return false;

        if (scan.pos == text.size() || text[scan.pos] == ')') return true;
        const BinaryOperator* found = match_operator(syntax, text, scan.pos);
        if (found == nullptr) return false;
        scan.tokens.push_back({found->text, found->priority});
        scan.pos += found->text.size();
    }
}

// A text on the value stack, with whether it is an integer text kept beside
// it so that a long text is not scanned again by every operator it meets.
struct Value {
    std::string text;
    bool integer;
};

Value truth(bool holds) { return {holds ? "1" : "0", true}; }

// Two's complement wrap-around of a 64-bit intermediate result.
Value wrapped(int64_t value) {
    return {std::to_string(static_cast<int32_t>(static_cast<uint32_t>(value))), true};
}

bool apply_prefix(char op, Value& operand) {
    if (!operand.integer) return false;
    const int32_t value = parse_decimal(operand.text);
    if (op == '!') operand = truth(value == 0);
    if (op == '-') operand = wrapped(-int64_t{value});
    return true;
}

// The text repeated `times` times, or false when it would exceed `size_limit`.
bool repeat_text(std::string& text, int32_t times, std::size_t size_limit) {
    if (times <= 0 || text.empty()) {
        text.clear();
        return true;
    }
    const auto count = static_cast<std::size_t>(times);
    if (count > size_limit / text.size()) return false;
    const std::size_t total = text.size() * count;
    text.reserve(total);
    while (text.size() < total) text.append(text, 0, std::min(text.size(), total - text.size()));
    return true;
}

bool apply_arithmetic(char op, int32_t left, int32_t right, Value& result) {
    switch (op) {
        case '+': result = wrapped(int64_t{left} + right); return true;
        case '-': result = wrapped(int64_t{left} - right); return true;
        case '*': result = wrapped(int64_t{left} * right); return true;
        default:
            // "/" and "%": no division by zero, and no quotient beyond the range.
            if (right == 0 || (left == std::numeric_limits<int32_t>::min() && right == -1)) {
                return false;
            }
            result = wrapped(op == '/' ? left / right : left % right);
            return true;
    }
}

bool holds(std::string_view comparison, int64_t left, int64_t right) {
    if (comparison == "<") return left < right;
    if (comparison == ">") return left > right;
    if (comparison == "<=") return left <= right;
    return left >= right;
}

// left + right is an integer text only when one side is empty, or the left
// is a lone "-" before digits.
void concatenate(Value& left, const Value& right) {
    const bool integer = (left.integer && right.text.empty()) ||
                         (left.text.empty() && right.integer) ||
                         (left.text == "-" && right.integer && right.text[0] != '-');
    left.text.append(right.text);
    left.integer = integer;
}

// Applies a binary operator; the result replaces `left`. A text result may
// not be longer than `size_limit`.
bool apply_binary(std::string_view op, Value& left, const Value& right, std::size_t size_limit) {
    if (op == "==" || op == "!=") {
        left = truth((left.text == right.text) == (op == "=="));
        return true;
    }
    if (op == "=~" || op == "!~") {
        left = truth(false);
        return true;
    }
    const bool integers = left.integer && right.integer;
    if (op == "&&" || op == "||") {
        if (!integers) return false;
        const bool l = parse_decimal(left.text) != 0;
        const bool r = parse_decimal(right.text) != 0;
        left = truth(op == "&&" ? l && r : l || r);
        return true;
    }
    if (op == "<" || op == ">" || op == "<=" || op == ">=") {
        // Texts compare by their byte lengths.
        left = truth(integers ? holds(op, parse_decimal(left.text), parse_decimal(right.text))
                              : holds(op, static_cast<int64_t>(left.text.size()),
                                      static_cast<int64_t>(right.text.size())));
        return true;
    }
    // What is left: "+", "-", "*", "/", "%".
    if (integers) {
        return apply_arithmetic(op[0], parse_decimal(left.text), parse_decimal(right.text), left);
    }
    if (op == "+") {
        if (left.text.size() + right.text.size() > size_limit) return false;
        concatenate(left, right);
        return true;
    }
    if (op == "-") {
        if (erase_all(left.text, right.text) > 0) left.integer = is_integer_text(left.text);
        return true;
    }
    if (op == "*" && right.integer) {
        // A text that is not an integer text never repeats into one.
        return repeat_text(left.text, parse_decimal(right.text), size_limit);
    }
    // "*" by a text, "/" and "%" on texts.
    return false;
}

// The bytes that a binary operator reads and writes as a text operator.
// Concatenation appends the right text to the left one in place (read and
// written once); removal reads both texts and rewrites the left one;
// repetition writes its result; equality reads both texts. Integer
// arithmetic and length comparisons read no text.
uint64_t text_work(std::string_view op, const Value& left, const Value& right) {
    const uint64_t l = left.text.size();
    const uint64_t r = right.text.size();
    if (op == "==" || op == "!=") return l + r;
    if (left.integer && right.integer) return 0;
    if (op == "+") return 2 * r;
    if (op == "-") return 2 * l + r;
    if (op == "*" && right.integer) {
        const int32_t times = parse_decimal(right.text);
        return times > 0 ? l * static_cast<uint64_t>(times) : 0;
    }
    return 0;
}

// Applies a run of prefix operators, the last one first.
bool apply_prefixes(std::string_view run, Value& operand) {
    for (auto op = run.rbegin(); op != run.rend(); ++op) {
        if (!apply_prefix(*op, operand)) return false;
    }
    return true;
}

// Runs the postfix tokens (all but the final "Guard") over a stack of texts.
bool evaluate_postfix(const TokenList& postfix, std::string& result) {
    simple_stack<Value> values(postfix.get_allocator().resource());
    std::size_t held_bytes = 0;
    uint64_t work = 0;
    for (std::size_t i = 0; i + 1 < postfix.size(); ++i) {
        const Token& token = postfix[i];
        if (token.priority == kOperandPriority) {
            held_bytes += token.text.size();
            values.push({std::string(token.text), is_integer_text(token.text)});
            continue;
        }
        if (token.priority == kPrefixPriority) {
            Value& operand = values.peek();
            held_bytes -= operand.text.size();
            if (!apply_prefixes(token.text, operand)) return false;
            held_bytes += operand.text.size();
            continue;
        }
        const Value right = values.pop();
        Value& left = values.peek();
        work += text_work(token.text, left, right);
        if (work > kMaxTextWork) return false;
        held_bytes -= left.text.size() + right.text.size();
        const std::size_t room = held_bytes < kMaxHeldBytes ? kMaxHeldBytes - held_bytes : 0;
        if (!apply_binary(token.text, left, right, std::min(kMaxTextBytes, room))) return false;
        held_bytes += left.text.size();
    }
    result = std::move(values.pop().text);
    return true;
}

}  // namespace

bool tokenize(std::string_view text, const ExpressionSyntax& syntax, TokenList& tokens) {
    TokenScan scan{text, 0, tokens};
    // A ")" that no "(" opened stops the top level before the end.
    return tokenize_level(scan, syntax, 0) && scan.pos == text.size();
}

void to_postfix(TokenList& tokens) {
    // The output is written over the input: every token it holds has left
    // the input (or the operator stack) before its slot is reused.
    std::size_t written = 0;
    simple_stack<Token> operators(tokens.get_allocator().resource());
    operators.push({"Guard", kGuardPriority});
    for (Token& token : tokens) {
        if (token.priority == kPrefixPriority) {
            operators.push(std::move(token));
            continue;
        }
        while (operators.peek().priority >= token.priority &&
               operators.peek().priority != kOpenPriority) {
            tokens[written++] = operators.pop();
        }
        if (token.priority == kClosePriority) {
            operators.drop(1);
        } else {
            operators.push(std::move(token));
        }
    }
    tokens.resize(written);
    while (operators.size() > 0) tokens.push_back(operators.pop());
}

void normalise_expression(std::string& text, const Replacement* pairs, std::size_t pair_count) {
    // The blanks removed are " ", a tab and "　", which starts with a byte
    // above 7F: a text of other ASCII bytes is already normal.
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
        return c != ' ' && c != '\t' && static_cast<unsigned char>(c) < 0x80;
    });
    if (plain) return;
    erase_all(text, "　");
    erase_all(text, " ");
    erase_all(text, "\t");
    // Every full-width spelling starts with a byte above 7F: an ASCII text
    // has none of them.
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) return;
    for (std::size_t i = 0; i < pair_count; ++i) replace_all(text, pairs[i].from, pairs[i].to);
}

bool calc_expression(std::string& text) {
    std::string normalised = text;
    normalise_expression(normalised, kNormalisations, std::size(kNormalisations));

    alignas(std::max_align_t) std::byte buffer[kExpressionBufferBytes];
    std::pmr::monotonic_buffer_resource memory(buffer, sizeof buffer);
    TokenList tokens(&memory);
    if (!tokenize(normalised, kSyntax, tokens)) return false;
    to_postfix(tokens);
    std::string result;
    if (!evaluate_postfix(tokens, result)) return false;
    if (result != normalised) text = std::move(result);
    return true;
}
