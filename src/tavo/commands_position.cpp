// substr, at, length, reverse and is_empty: a text seen as a sequence of
// UTF-8 characters. A last character cut short is one character made of the
// bytes that remain.
#include "common/stltool.h"
#include "tavo/commands.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

namespace {

// The characters [start, start + count) of a text of `length` characters,
// where 0 <= start < length and 0 < count <= length - start.
std::string character_range(std::string_view text, int32_t start, int32_t count) {
    const std::size_t begin = utf8_advance(text, start).value_or(text.size());
    const std::string_view rest = text.substr(begin);
    const std::size_t end = utf8_advance(rest, count).value_or(rest.size());
    return std::string(rest.substr(0, end));
}

}  // namespace

CommandResult command_substr(ArgumentList& arguments, ValueList&) {
    if (arguments.empty()) return bad_request(kTooFewArguments);
    if (arguments.size() == 1) return ok(std::move(arguments[0]));

    const std::string_view text = arguments[0];
    const int32_t length = utf8_length(text);
    // Start and count are worked in 64 bits: start + count must not overflow.
    int64_t start = parse_int(arguments[1]);
    if (start < 0) start += length;
    int64_t count = arguments.size() >= 3 ? parse_int(arguments[2]) : length;

    if (count == 0 || count == std::numeric_limits<int32_t>::min()) return no_content();
    if (count < 0) {
        // A negative count selects the characters before the start.
        start += count;
        count = -count;
    }
    if (start < 0) start = 0;
    if (start >= length) return no_content();
    if (count > length - start) count = length - start;
    return ok(character_range(text, static_cast<int32_t>(start), static_cast<int32_t>(count)));
}

CommandResult command_at(ArgumentList& arguments, ValueList&) {
    if (arguments.size() != 2) return bad_request(kWrongArguments);

    const std::string_view text = arguments[0];
    const int32_t index = parse_int(arguments[1]);
    // A zero or negative index selects the first character.
    const auto position = utf8_advance(text, index);
    if (!position || *position == text.size()) return ok(std::string());
    return ok(std::string(text.substr(*position, utf8_step(text, *position))));
}

CommandResult command_length(ArgumentList& arguments, ValueList&) {
    if (arguments.empty()) return ok("0");
    return ok(std::to_string(utf8_length(arguments[0])));
}

CommandResult command_reverse(ArgumentList& arguments, ValueList&) {
    if (arguments.empty()) return bad_request(kTooFewArguments);

    const std::string_view text = arguments[0];
    // Each character is copied whole into a buffer of the final size, filled
    // from the back; a character is one to four bytes, copied byte by byte
    // (a std::memcpy call per character makes the command a third slower).
    std::string reversed(text.size(), '\0');
    std::size_t back = text.size();
    for (std::size_t position = 0; position < text.size();) {
        const std::size_t step = utf8_step(text, position);
        back -= step;
        const char* source = text.data() + position;
        char* target = &reversed[back];
        switch (step) {
            case 4: target[3] = source[3]; [[fallthrough]];
            case 3: target[2] = source[2]; [[fallthrough]];
            case 2: target[1] = source[1]; [[fallthrough]];
            default: target[0] = source[0];
        }
        position += step;
    }
    return ok(std::move(reversed));
}

CommandResult command_is_empty(ArgumentList& arguments, ValueList&) {
    return yes_no(arguments.empty() || arguments[0].empty());
}
