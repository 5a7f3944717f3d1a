#include "case_file.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "cli/module_client.h"

namespace {

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool unescape(const std::string& text, std::string& bytes) {
    bytes.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            bytes += text[i];
            continue;
        }
        if (++i == text.size()) return false;
        switch (text[i]) {
            case '\\': bytes += '\\'; break;
            case 'r': bytes += '\r'; break;
            case 'n': bytes += '\n'; break;
            case 't': bytes += '\t'; break;
            case '0': bytes += '\0'; break;
            case 'x': {
                if (i + 2 >= text.size()) return false;
                const int high = hex_digit(text[i + 1]);
                const int low = hex_digit(text[i + 2]);
                if (high < 0 || low < 0) return false;
                bytes += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            default: return false;
        }
    }
    return true;
}

// A case being read: the short form is turned into bytes when the case ends.
struct CaseDraft {
    ProtocolCase result;
    std::string charset = "UTF-8";
    std::vector<std::string> arguments;
    bool has_arguments = false;
    int status = 0;
    bool has_result = false;
    std::string result_text;
    std::vector<std::string> values;

    ProtocolCase finish() {
        if (has_arguments) result.request = execute_request(arguments, charset);
        if (status != 0) {
            result.expected_response = "SAORI/1.0 " + std::to_string(status) + " " +
                                       status_words(status) + "\r\nCharset: " + charset + "\r\n";
            if (has_result) result.expected_response += "Result: " + result_text + "\r\n";
            for (std::size_t n = 0; n < values.size(); ++n) {
                result.expected_response += "Value" + std::to_string(n) + ": " + values[n] + "\r\n";
            }
            result.expected_response += "\r\n";
        }
        return result;
    }

    static std::string status_words(int status) {
        switch (status) {
            case 200: return "OK";
            case 204: return "No Content";
            case 400: return "Bad Request";
            default: return "Internal Server Error";
        }
    }
};

}  // namespace

bool read_case_file(const std::string& path, std::vector<ProtocolCase>& cases, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot open";
        return false;
    }
    std::string line;
    int line_number = 0;
    bool in_case = false;
    CaseDraft draft;
    while (std::getline(file, line)) {
        ++line_number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::string where = path + ":" + std::to_string(line_number);
        if (line.rfind("== ", 0) == 0) {
            if (in_case) cases.push_back(draft.finish());
            draft = CaseDraft();
            draft.result.name = line.substr(3);
            draft.result.location = where;
            in_case = true;
            continue;
        }
        // The marker is one or two characters, then an optional single space.
        const bool two_characters =
            line.size() >= 2 && (line[1] == '=' || (line[0] == '$' && (line[1] == '*' || line[1] == '$')));
        std::string marker = line.substr(0, two_characters ? 2 : 1);
        std::string text = line.substr(marker.size());
        if (!text.empty()) {
            if (text[0] != ' ') {
                error = where + ": expected a space after '" + marker + "'";
                return false;
            }
            text.erase(0, 1);
        }
        std::string bytes;
        if (!in_case || !unescape(text, bytes)) {
            error = where + ": malformed line";
            return false;
        }
        if (marker == "%") {
            draft.charset = bytes;
        } else if (marker == "$") {
            draft.has_arguments = true;
            draft.arguments.push_back(bytes);
        } else if (marker == "$*" || marker == "$$") {
            // A count, one space, then the text.
            const std::size_t space = bytes.find(' ');
            const long count = std::atol(bytes.substr(0, space).c_str());
            if (space == std::string::npos || count <= 0) {
                error = where + ": expected a count and a text";
                return false;
            }
            const std::string unit = bytes.substr(space + 1);
            draft.has_arguments = true;
            if (marker == "$$") {
                draft.arguments.insert(draft.arguments.end(), static_cast<std::size_t>(count), unit);
            } else {
                std::string repeated;
                repeated.reserve(unit.size() * static_cast<std::size_t>(count));
                for (long n = 0; n < count; ++n) repeated += unit;
                draft.arguments.push_back(std::move(repeated));
            }
        } else if (marker == "!") {
            draft.status = std::atoi(bytes.c_str());
        } else if (marker == "=") {
            draft.has_result = true;
            draft.result_text = bytes;
        } else if (marker == "+") {
            draft.values.push_back(bytes);
        } else if (marker == ">") {
            draft.result.request += bytes + "\r\n";
        } else if (marker == ">=") {
            draft.result.request += bytes;
        } else if (marker == "<") {
            draft.result.expected_response += bytes + "\r\n";
        } else if (marker == "<=") {
            draft.result.expected_response += bytes;
        } else if (marker == "@" && bytes == "disk") {
            // Every runner of this program has a file system.
        } else {
            error = where + ": unknown marker '" + marker + "'";
            return false;
        }
    }
    if (in_case) cases.push_back(draft.finish());
    return true;
}

std::string printable(const std::string& bytes) {
    std::string shown;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            shown += "\\r\\n\n        ";
            ++i;
        } else if (c == '\\') {
            shown += "\\\\";
        } else if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            shown += escaped;
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}
