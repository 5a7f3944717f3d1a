// Test texts: one unit repeated, and random texts of the pieces that
// matter to the character walks.
#pragma once

#include <cstddef>
#include <iterator>
#include <random>
#include <string>

inline std::string repeat(const std::string& unit, std::size_t times) {
    std::string text;
    text.reserve(unit.size() * times);
    for (std::size_t i = 0; i < times; ++i) text += unit;
    return text;
}

// Texts made of pieces that matter to the scans: ASCII, Japanese, full-width
// forms, stray and cut-short bytes.
inline std::string random_text(std::mt19937& random, std::size_t pieces) {
    static const char* const kPieces[] = {
        "a", "b", "1", "9", "0", " ", "\t", "-", "+", "あ", "漢", "😀", "１", "９", "０", "Ａ", "ｚ",
        "－", "＋", "　", "ー", "\x80", "\xC0", "\xF5", "\xE3", "\xE3\x81", "\xF0\x9F", "\xEF",
        "\xEF\xBC", "\xC3", "\xBC\x91"};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
    std::string text;
    for (std::size_t i = 0; i < pieces; ++i) text += kPieces[pick(random)];
    return text;
}
