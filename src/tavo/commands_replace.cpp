// replace, replace_first, erase, erase_first and count: thin handlers over the
// search helpers. Each answers 200 whenever the argument count is right, also
// when the search text does not occur.
#include "common/stltool.h"
#include "tavo/commands.h"

#include <string>
#include <utility>

namespace {

// Whether replacing every occurrence would grow the text past the result
// limit. The cheap bound (every position a match) settles almost every case;
// only when it is over the limit are the occurrences counted.
bool replacement_too_large(const std::string& text, const std::string& search,
                           const std::string& replacement) {
    if (search.empty() || replacement.size() <= search.size()) return false;
    const uint64_t growth = replacement.size() - search.size();
    const uint64_t most = text.size() + growth * (text.size() / search.size());
    if (most <= kMaxResultBytes) return false;
    return text.size() + growth * static_cast<uint64_t>(count_occurrences(text, search)) >
           kMaxResultBytes;
}

}  // namespace

CommandResult command_replace(ArgumentList& arguments, ValueList&) {
    if (arguments.size() != 3) return bad_request(kWrongArgumentCount);
    if (replacement_too_large(arguments[0], arguments[1], arguments[2])) return result_too_large();
    std::string text = std::move(arguments[0]);
    replace_all(text, arguments[1], arguments[2]);
    return ok(std::move(text));
}

CommandResult command_replace_first(ArgumentList& arguments, ValueList&) {
    if (arguments.size() != 3) return bad_request(kWrongArgumentCount);
    std::string text = std::move(arguments[0]);
    replace_once(text, arguments[1], arguments[2]);
    return ok(std::move(text));
}

CommandResult command_erase(ArgumentList& arguments, ValueList&) {
    if (arguments.size() != 2) return bad_request(kWrongArgumentCount);
    std::string text = std::move(arguments[0]);
    erase_all(text, arguments[1]);
    return ok(std::move(text));
}

CommandResult command_erase_first(ArgumentList& arguments, ValueList&) {
    if (arguments.size() != 2) return bad_request(kWrongArgumentCount);
    std::string text = std::move(arguments[0]);
    erase_once(text, arguments[1]);
    return ok(std::move(text));
}

CommandResult command_count(ArgumentList& arguments, ValueList&) {
    if (arguments.size() != 2) return bad_request(kWrongArgumentCount);
    return ok(std::to_string(count_occurrences(arguments[0], arguments[1])));
}
