// Header lines: the form of one line, and a request's lines as (key, value)
// pairs.
#pragma once

#include <memory_resource>
#include <string_view>
#include <utility>
#include <vector>

// A header line is "key: value" followed by CR LF.
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kKeySeparator = ": ";

// The header lines of a request, in line order, duplicates kept: views into
// the request text, which outlives the list.
using HeaderList = std::pmr::vector<std::pair<std::string_view, std::string_view>>;
