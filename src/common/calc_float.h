// The floating-point expression evaluator behind calc_float.
#pragma once

#include <string>

// Evaluates the decimal expression in `text` (numbers with an optional
// fractional part, no text operands) and replaces the text by the result in
// "%f" form with trailing zeros and a final "." removed ("inf", "-inf" and
// "nan" for the values without digits). On failure the text holds the
// expression after blank and full-width normalisation.
bool calc_float_expression(std::string& text);
