// Conversion between UTF-8 and UTF-16, for the Windows platform layer: a path
// that is well-formed UTF-8 goes to the system's UTF-16 functions, anything
// else to its ANSI functions. Header-only so that the platform layer, which
// sits below the module's other units, can use it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "common/stltool.h"

// The UTF-16 form of `text`, or nullopt when `text` is not well-formed UTF-8:
// a stray or missing continuation byte, a sequence cut short, an overlong
// form, an encoded surrogate or a value above U+10FFFF.
inline std::optional<std::u16string> utf16_from_utf8(std::string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t length = 0;
        char32_t code = read_code_point(text, pos, length);
        if (length == 0 || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
        if (code >= 0x10000) {
            code -= 0x10000;
            wide.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            wide.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            wide.push_back(static_cast<char16_t>(code));
        }
        pos += length;
    }
    return wide;
}

// The UTF-8 form of `text`. A surrogate without its partner (file names may
// hold one) becomes U+FFFD, so the result is always well-formed UTF-8.
inline std::string utf8_from_utf16(std::u16string_view text) {
    const auto is_high = [](char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; };
    const auto is_low = [](char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; };
    std::string bytes;
    bytes.reserve(text.size() * 3);
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        char32_t code = text[pos];
        if (is_high(code) && pos + 1 < text.size() && is_low(text[pos + 1])) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++pos] - 0xDC00u);
        } else if (is_high(code) || is_low(code)) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            bytes += static_cast<char>(code);
        } else if (code < 0x800) {
            bytes += static_cast<char>(0xC0 | (code >> 6));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            bytes += static_cast<char>(0xE0 | (code >> 12));
            bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            bytes += static_cast<char>(0xF0 | (code >> 18));
            bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return bytes;
}
