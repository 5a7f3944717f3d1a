// The module's Shift_JIS conversion against Windows' own for code page 932,
// over the whole code space: every one- and two-byte code read as
// MultiByteToWideChar reads it, and every code point below U+10000 written as
// WideCharToMultiByte writes it without best-fit look-alikes. A code Windows
// rejects must come back from the module as the same bytes.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

#include "common/charset.h"
#include "common/utf16.h"

namespace {

int failures = 0;

void fail(const std::string& what, const std::string& code) {
    if (++failures > 40) return;
    std::string hex;
    char digits[4];
    for (const char byte : code) {
        std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(byte));
        hex += digits;
    }
    std::printf("%s %s\n", what.c_str(), hex.c_str());
}

// Windows' reading of the bytes as UTF-8, or nullopt when it rejects them.
std::optional<std::string> windows_reading(const std::string& bytes, DWORD flags) {
    wchar_t wide[8];
    const int length = MultiByteToWideChar(932, flags, bytes.data(), static_cast<int>(bytes.size()), wide, 8);
    if (length <= 0) return std::nullopt;
    return utf8_from_utf16(std::u16string(wide, wide + length));
}

void check_reading(const std::string& code) {
    const std::string module = to_utf8(code, Charset::shift_jis);
    if (const auto strict = windows_reading(code, MB_ERR_INVALID_CHARS)) {
        if (module != *strict) fail("read otherwise than Windows:", code);
    } else if (code.size() == 1 && !IsDBCSLeadByteEx(932, static_cast<BYTE>(code[0]))) {
        // A0, FD, FE, FF: outside the strict reading, U+F8F0..U+F8F3 otherwise.
        if (module != windows_reading(code, 0)) fail("a single byte read otherwise than Windows:", code);
    } else if (from_utf8(module, Charset::shift_jis) != code) {
        fail("a code Windows rejects did not come back as its bytes:", code);
    }
}

void check_writing(char16_t unit) {
    const wchar_t wide[1] = {static_cast<wchar_t>(unit)};
    char bytes[4];
    BOOL default_used = FALSE;
    const int length =
        WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, 1, bytes, sizeof bytes, nullptr, &default_used);
    const std::string windows = length > 0 && !default_used ? std::string(bytes, length) : "?";
    const std::string text = utf8_from_utf16(std::u16string(1, unit));
    if (from_utf8(text, Charset::shift_jis) != windows) fail("written otherwise than Windows:", text);
}

}  // namespace

int main() {
    int codes = 0;
    for (int first = 0; first < 0x100; ++first) {
        check_reading(std::string(1, static_cast<char>(first)));
        ++codes;
        if (first < 0x80) continue;
        for (int second = 0x20; second < 0x100; ++second) {
            check_reading({static_cast<char>(first), static_cast<char>(second)});
            ++codes;
        }
    }
    int points = 0;
    for (char32_t unit = 1; unit < 0x10000; ++unit) {
        if (unit >= 0xD800 && unit <= 0xDFFF) continue;
        check_writing(static_cast<char16_t>(unit));
        ++points;
    }
    std::printf("Shift_JIS: %d codes read, %d code points written: %d differences from code page 932\n", codes,
                points, failures);
    return failures == 0 ? 0 : 1;
}
