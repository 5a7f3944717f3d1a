// Counting, replacing and erasing occurrences, and the suffix test.
#include <cstring>
#include <string>
#include <vector>

#include "common/stltool.h"
#include "common/stltool_finder.h"

using stltool_internal::clamp_count;
using stltool_internal::Finder;
using stltool_internal::kNotFound;

namespace {

std::size_t count_all(std::string_view text, std::string_view search) {
    Finder finder(text, search, true);
    std::size_t count = 0;
    std::size_t pos = 0;
    while ((pos = finder.find(pos)) != kNotFound) {
        ++count;
        pos += search.size();
    }
    return count;
}

// Replacement no longer than the search text: one pass in the text's own
// buffer. Every write lands before the scan position, so the scan only ever
// reads bytes that are still as they were.
std::size_t replace_shrinking(std::string& text, std::string_view search,
                              std::string_view replacement) {
    const std::size_t length = search.size();
    char* data = &text[0];
    const std::string_view original(data, text.size());
    Finder finder(original, search, true);
    std::size_t pos = finder.find(0);
    if (pos == kNotFound) return 0;
    std::size_t count = 0;
    std::size_t written = pos;  // end of the result so far
    std::size_t copied = pos;   // end of the original bytes taken so far
    while (pos != kNotFound) {
        if (written != copied) std::memmove(data + written, data + copied, pos - copied);
        written += pos - copied;
        replacement.copy(data + written, replacement.size());
        written += replacement.size();
        copied = pos + length;
        ++count;
        pos = finder.find(copied);
    }
    std::memmove(data + written, data + copied, text.size() - copied);
    text.resize(written + text.size() - copied);
    return count;
}

// Most occurrences whose positions the counting pass of replace_growing
// keeps, so that building the result need not scan that part again.
constexpr std::size_t kKeptPositions = 16384;

// Longer replacement: count first, then build the result in one buffer of
// exactly the final size.
std::size_t replace_growing(std::string& text, std::string_view search,
                            std::string_view replacement) {
    const std::size_t length = search.size();
    std::vector<std::size_t> kept;
    std::size_t count = 0;
    Finder counter(text, search, true);
    for (std::size_t pos = counter.find(0); pos != kNotFound; pos = counter.find(pos + length)) {
        if (kept.size() < kKeptPositions) kept.push_back(pos);
        ++count;
    }
    if (count == 0) return 0;

    std::string result;
    result.reserve(text.size() + count * (replacement.size() - length));
    std::size_t copied = 0;
    const auto take = [&](std::size_t pos) {
        result.append(text, copied, pos - copied);
        result.append(replacement);
        copied = pos + length;
    };
    for (const std::size_t pos : kept) take(pos);
    if (count > kept.size()) {
        Finder builder(text, search, true);
        for (std::size_t pos = builder.find(copied); pos != kNotFound;
             pos = builder.find(pos + length)) {
            take(pos);
        }
    }
    result.append(text, copied, std::string::npos);
    text.swap(result);
    return count;
}

}  // namespace

int32_t count_occurrences(std::string_view text, std::string_view search) {
    if (text.empty() || search.empty()) return 0;
    return clamp_count(count_all(text, search));
}

int32_t replace_all(std::string& text, std::string_view search, std::string_view replacement) {
    if (text.empty() || search.empty()) return 0;
    const std::size_t count = replacement.size() <= search.size()
                                  ? replace_shrinking(text, search, replacement)
                                  : replace_growing(text, search, replacement);
    return clamp_count(count);
}

int32_t erase_all(std::string& text, std::string_view search) {
    return replace_all(text, search, std::string_view());
}

bool replace_once(std::string& text, std::string_view search, std::string_view replacement) {
    const std::size_t pos = search.empty() ? 0 : Finder(text, search, false).find(0);
    if (pos == kNotFound) return false;
    text.replace(pos, search.size(), replacement);
    return true;
}

bool erase_once(std::string& text, std::string_view search) {
    return replace_once(text, search, std::string_view());
}

bool ends_with(std::string_view text, std::string_view suffix) {
    return suffix.size() <= text.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}
