// Request and response header lines as (key, value) pairs, in line order,
// duplicates kept.
#pragma once

#include <string>
#include <utility>
#include <vector>

using HeaderList = std::vector<std::pair<std::string, std::string>>;
