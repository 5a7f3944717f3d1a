// Test texts made of one unit repeated.
#pragma once

#include <cstddef>
#include <string>

inline std::string repeat(const std::string& unit, std::size_t times) {
    std::string text;
    text.reserve(unit.size() * times);
    for (std::size_t i = 0; i < times; ++i) text += unit;
    return text;
}
