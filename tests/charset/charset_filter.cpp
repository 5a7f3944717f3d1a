// Converts texts with the module's charset conversion, for the comparison
// with other converters: each input line "CHARSET to-utf8|from-utf8 HEX"
// gives one output line, the hex of the converted bytes.
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

#include "common/charset.h"

namespace {

std::string from_hex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

std::string to_hex(const std::string& bytes) {
    std::string hex;
    char digits[3];
    for (const char byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(byte));
        hex += digits;
    }
    return hex;
}

}  // namespace

int main() {
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream fields(line);
        std::string label, direction, hex;
        fields >> label >> direction >> hex;
        const auto charset = charset_named(label);
        if (!charset || (direction != "to-utf8" && direction != "from-utf8")) {
            std::cerr << "charset-filter: cannot read: " << line << "\n";
            return 2;
        }
        const std::string bytes = from_hex(hex);
        std::cout << to_hex(direction == "to-utf8" ? to_utf8(bytes, *charset) : from_utf8(bytes, *charset))
                  << "\n";
    }
    return 0;
}
