// zen2han, han2zen, hira2kata, kata2hira, is_digit and is_alpha: character
// classes and conversions of Japanese text.
#include "common/stltool.h"
#include "tavo/commands.h"
#include "tavo/width_conversion.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

struct OptionWord {
    std::string_view word;
    WidthClass width_class;
};

constexpr OptionWord kOptionWords[] = {
    {"アルファベット", WidthClass::Alphabet},
    {"数字", WidthClass::Digit},
    {"記号", WidthClass::Symbol},
    {"カナ", WidthClass::Kana},
};

// Every class without an option argument; otherwise the classes whose option
// words occur anywhere in it, as plain byte substrings.
uint32_t selected_classes(const ArgumentList& arguments) {
    if (arguments.size() < 2) return kEveryWidthClass;
    const std::string& options = arguments[1];
    uint32_t mask = 0;
    for (const OptionWord& option : kOptionWords) {
        if (options.find(option.word) != std::string::npos)
            mask |= static_cast<uint32_t>(option.width_class);
    }
    return mask;
}

// One optional sign, "+", "-", "＋" or "－", then one or more ASCII or
// full-width digits.
bool is_signed_digit_text(std::string_view text) {
    bool has_digit = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char full_width = ascii_for_full_width(text, pos);
        const char c = full_width != 0 ? full_width : text[pos];
        if (is_ascii_digit(c)) {
            has_digit = true;
        } else if (pos != 0 || (c != '+' && c != '-')) {
            return false;
        }
        pos += full_width != 0 ? 3 : 1;
    }
    return has_digit;
}

}  // namespace

CommandResult command_zen2han(ArgumentList& arguments, ValueList&) {
    if (arguments.empty()) return bad_request(kWrongArgumentCount);
    return ok(to_half_width(arguments[0], selected_classes(arguments)));
}

CommandResult command_han2zen(ArgumentList& arguments, ValueList&) {
    if (arguments.empty()) return bad_request(kWrongArgumentCount);
    return ok(to_full_width(arguments[0], selected_classes(arguments)));
}

CommandResult command_hira2kata(ArgumentList& arguments, ValueList&) {
    if (arguments.size() != 1) return bad_request(kWrongArgumentCount);
    return ok(to_katakana(arguments[0]));
}

CommandResult command_kata2hira(ArgumentList& arguments, ValueList&) {
    if (arguments.size() != 1) return bad_request(kWrongArgumentCount);
    return ok(to_hiragana(arguments[0]));
}

CommandResult command_is_digit(ArgumentList& arguments, ValueList&) {
    return yes_no(!arguments.empty() && is_signed_digit_text(arguments[0]));
}

CommandResult command_is_alpha(ArgumentList& arguments, ValueList&) {
    return yes_no(!arguments.empty() && !arguments[0].empty() && is_letter_text(arguments[0]));
}
