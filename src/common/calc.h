// The integer/text expression evaluator, and the pieces that the
// floating-point evaluator shares with it: tokens, the tokenizer frame and
// the reordering into postfix form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory_resource>
#include <string>
#include <string_view>

// One piece of an expression, seen in the expression's text (which outlives
// the tokens). The priority ranks operators and also tells the kind of
// token: operands and prefix operators have the constants below, binary
// operators rank 35 to 80, and the parentheses and the final "Guard" of the
// postfix form have priorities of their own. A run of prefix operators is
// one token ("--!"); they apply from the last, innermost one outwards.
struct Token {
    std::string_view text;
    int32_t priority;
};

// Tokens in order. A deque grows without copying what it holds, so a long
// expression never holds its tokens twice. Its blocks come from the memory
// resource it is made with; the evaluators use a buffer on the stack.
using TokenList = std::pmr::deque<Token>;

// Room for the tokens and stacks of an expression of a few dozen tokens.
constexpr std::size_t kExpressionBufferBytes = 2048;

constexpr int32_t kPrefixPriority = 90;
constexpr int32_t kOperandPriority = 100;

struct BinaryOperator {
    std::string_view text;
    int32_t priority;
};

// A tokenizer's position in the expression and the tokens read so far.
struct TokenScan {
    std::string_view text;
    std::size_t pos;
    TokenList& tokens;
};

// What sets the two evaluators' syntax apart: the binary operators, tried in
// table order, and the reader of a plain (not parenthesised) operand, which
// appends the operand's token and moves past it, or returns false.
struct ExpressionSyntax {
    const BinaryOperator* operators;
    std::size_t operator_count;
    bool (*read_operand)(TokenScan& scan);
};

// Cuts the whole text into tokens, appended to `tokens`, checking that
// operands and binary operators alternate, prefix operators ("!", "+", "-")
// stand before operands and parentheses balance, nested at most 256 deep.
// False when the text is not such an expression.
bool tokenize(std::string_view text, const ExpressionSyntax& syntax, TokenList& tokens);

// Reorders the tokens in place into postfix order by priority; the sentinel
// "Guard" comes last. Binary operators are left-associative; chained prefix
// operators apply innermost first. The operator stack takes its memory from
// the tokens' memory resource.
void to_postfix(TokenList& tokens);

// A full-width spelling and the ASCII text that stands for it.
struct Replacement {
    std::string_view from;
    std::string_view to;
};

// Removes every ideographic space, space and tab, then applies the
// replacements in order, each to the whole text.
void normalise_expression(std::string& text, const Replacement* pairs, std::size_t pair_count);

// Evaluates the integer/text expression in `text`. On success the text holds
// the result, or stays exactly as written when the result equals the
// expression after full-width and blank normalisation. On failure the text is
// unchanged.
bool calc_expression(std::string& text);
