// split and join. split cuts a text at every character of a delimiter set and
// hands the pieces back as values; join glues its arguments with a separator.
#include "common/stltool.h"
#include "tavo/commands.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// The bytes of a character of two to four bytes as one number. Numbers of
// different lengths never meet: the lead byte is at least 0x80.
uint32_t packed(std::string_view character) {
    uint32_t number = 0;
    for (const char byte : character) number = number << 8 | static_cast<unsigned char>(byte);
    return number;
}

// The distinct characters of a delimiter text. One-byte characters are looked
// up in a table, longer ones by binary search in a sorted list.
class DelimiterSet {
public:
    explicit DelimiterSet(std::string_view delimiters) : empty_(delimiters.empty()) {
        std::size_t cursor = 0;
        while (cursor < delimiters.size()) {
            const std::string character = take_char(delimiters, cursor);
            const auto first = static_cast<unsigned char>(character[0]);
            if (!starts_[first]) ++start_count_;
            starts_[first] = true;
            only_start_ = character[0];
            if (character.size() == 1) {
                single_bytes_[first] = true;
            } else {
                longer_.push_back(packed(character));
            }
        }
        std::sort(longer_.begin(), longer_.end());
        longer_.erase(std::unique(longer_.begin(), longer_.end()), longer_.end());
    }

    bool empty() const { return empty_; }

    bool contains(std::string_view character) const {
        if (character.size() == 1) return single_bytes_[static_cast<unsigned char>(character[0])];
        return std::binary_search(longer_.begin(), longer_.end(), packed(character));
    }

    // The first position at or after `from` holding a byte that some
    // delimiter starts with; the text's size when there is none.
    std::size_t next_start(std::string_view text, std::size_t from) const {
        const char* const data = text.data();
        if (start_count_ == 1) {
            const void* found = std::memchr(data + from, only_start_, text.size() - from);
            if (found == nullptr) return text.size();
            return static_cast<std::size_t>(static_cast<const char*>(found) - data);
        }
        while (from < text.size() && !starts_[static_cast<unsigned char>(data[from])]) ++from;
        return from;
    }

private:
    bool empty_;
    std::array<bool, 256> single_bytes_{};
    std::vector<uint32_t> longer_;
    std::array<bool, 256> starts_{};
    std::size_t start_count_ = 0;
    char only_start_ = 0;
};

// Appends every character of the text as one piece; returns the number of
// pieces.
std::size_t split_chars(std::string_view text, ValueList& pieces) {
    std::size_t count = 0;
    std::size_t cursor = 0;
    while (cursor < text.size()) {
        pieces.push_back(take_char(text, cursor));
        ++count;
    }
    return count;
}

// Appends the fields of the text between delimiter characters; empty fields
// are skipped. Under a positive limit the last piece is the raw rest of the
// text after the delimiter that closed the piece before it. Returns the
// number of pieces.
std::size_t split_by_chars(std::string_view text, std::string_view delimiters, ValueList& pieces,
                           int32_t limit) {
    const DelimiterSet delimiter_set(delimiters);
    if (delimiter_set.empty()) return split_chars(text, pieces);
    if (limit == 1) {
        pieces.emplace_back(text);
        return 1;
    }

    std::size_t count = 0;
    // The current field is the slice [field_start, position); no text is
    // copied until a piece is complete. The walk goes from character to
    // character; it skips straight to the next byte that a delimiter starts
    // with, and looks at that byte only when it begins a character that the
    // walk reaches.
    std::size_t field_start = 0;
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t candidate = delimiter_set.next_start(text, position);
        if (candidate == text.size()) break;
        position = boundary_at_or_after(text, position, candidate);
        if (position != candidate) continue;
        const std::size_t step = utf8_step(text, position);
        const std::size_t next = position + step;
        if (!delimiter_set.contains(text.substr(position, step))) {
            position = next;
            continue;
        }
        if (position > field_start) {
            pieces.emplace_back(text.substr(field_start, position - field_start));
            ++count;
            if (limit > 0 && count + 1 >= static_cast<std::size_t>(limit)) {
                field_start = next;
                break;
            }
        }
        field_start = next;
        position = next;
    }
    // The last field, or the raw rest under the limit.
    if (text.size() > field_start) {
        pieces.emplace_back(text.substr(field_start));
        ++count;
    }
    return count;
}

}  // namespace

CommandResult command_split(ArgumentList& arguments, ValueList& values) {
    if (arguments.empty() || arguments.size() > 3) return bad_request(kWrongArgumentCount);

    std::size_t count = 0;
    if (arguments.size() == 1) {
        count = split_chars(arguments[0], values);
    } else {
        const int32_t limit = arguments.size() == 3 ? parse_int(arguments[2]) : 0;
        count = split_by_chars(arguments[0], arguments[1], values, limit);
    }
    return ok(std::to_string(count));
}

CommandResult command_join(ArgumentList& arguments, ValueList&) {
    if (arguments.empty()) return bad_request(kWrongArgumentCount);

    // The separator alone, without items, gives the empty text.
    if (arguments.size() == 1) return ok(std::string());

    const std::string& separator = arguments[0];
    uint64_t size = uint64_t{separator.size()} * (arguments.size() - 2);
    for (std::size_t item = 1; item < arguments.size(); ++item) size += arguments[item].size();
    if (size > kMaxResultBytes) return result_too_large();
    std::string joined;
    joined.reserve(static_cast<std::size_t>(size));
    joined += arguments[1];
    for (std::size_t item = 2; item < arguments.size(); ++item) {
        joined += separator;
        joined += arguments[item];
    }
    return ok(std::move(joined));
}
