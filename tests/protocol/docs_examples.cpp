// Sends every request shown in the documentation through a module file and
// compares the answer with the response shown after it, so the reference
// cannot drift from what the module does.
//
//   docs-examples MODULE DOCS_DIRECTORY
//
// In the Markdown files, fenced blocks without a language hold requests and
// responses, one line per protocol line (CR LF on the wire), each closed by an
// empty line. A request and its response may share a block or stand in two
// blocks one after the other.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "case_file.h"
#include "tests/hosts/host_check.h"

namespace {

// One request or response as the documentation writes it.
struct Message {
    std::string location;  // file:line of its first line
    std::vector<std::string> lines;
};

std::vector<std::string> markdown_files(const std::string& directory) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(directory)) {
        if (entry.path().extension() == ".md") files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> file_lines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The messages of the plain fenced blocks of one file, in order. A message
// ends at an empty line or at the end of its block.
std::vector<Message> file_messages(const std::string& path, const std::string& shown_name) {
    std::vector<Message> messages;
    const std::vector<std::string> lines = file_lines(path);
    bool in_plain_block = false;
    bool in_other_block = false;
    Message current;
    const auto close_message = [&] {
        if (!current.lines.empty()) messages.push_back(current);
        current = Message();
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.rfind("```", 0) == 0) {
            if (in_plain_block) close_message();
            if (in_plain_block || in_other_block) {
                in_plain_block = in_other_block = false;
            } else if (line == "```") {
                in_plain_block = true;
            } else {
                in_other_block = true;
            }
            continue;
        }
        if (!in_plain_block) continue;
        if (line.empty()) {
            close_message();
            continue;
        }
        if (current.lines.empty()) current.location = shown_name + ":" + std::to_string(i + 1);
        current.lines.push_back(line);
    }
    return messages;
}

std::string wire_bytes(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes + "\r\n";
}

bool is_response(const Message& message) { return message.lines[0].rfind("SAORI/", 0) == 0; }

// Finds the first "KEY: value" line and sets `value`; false when there is none.
bool header(const std::vector<std::string>& lines, const std::string& key, std::string& value) {
    const std::string prefix = key + ": ";
    for (const std::string& line : lines) {
        if (line.rfind(prefix, 0) == 0) {
            value = line.substr(prefix.size());
            return true;
        }
    }
    return false;
}

// The responses the documentation allows: the one shown, or for `choice`
// (a random pick) the one shown with its Result replaced by any argument; the
// one shown must be among them too.
std::vector<std::string> accepted_responses(const Message& request, const Message& response) {
    std::string command;
    std::string argument;
    if (!header(request.lines, "Argument0", command) || command != "choice" ||
        !header(request.lines, "Argument1", argument)) {
        return {wire_bytes(response.lines)};
    }
    std::vector<std::string> accepted;
    for (int i = 1; header(request.lines, "Argument" + std::to_string(i), argument); ++i) {
        std::vector<std::string> lines = response.lines;
        for (std::string& line : lines) {
            if (line.rfind("Result: ", 0) == 0) line = "Result: " + argument;
        }
        accepted.push_back(wire_bytes(lines));
    }
    return accepted;
}

// `lsimg` and `mkdir` answer from the file system of the machine at hand,
// except for a request from outside the machine, which they refuse.
bool depends_on_machine(const Message& request) {
    std::string command;
    std::string level;
    return header(request.lines, "Argument0", command) && (command == "lsimg" || command == "mkdir") &&
           !(header(request.lines, "SecurityLevel", level) && level == "External");
}

}  // namespace

int main(int argc, char** argv) {
    HostCheck check(argc, argv);
    if (argc != 3) {
        std::fputs("usage: docs-examples MODULE DOCS_DIRECTORY\n", stderr);
        return 2;
    }
    const std::filesystem::path directory = argv[2];
    int examples = 0;
    int skipped = 0;
    for (const std::string& file : markdown_files(directory.string())) {
        const std::string shown_name = std::filesystem::relative(file, directory).generic_string();
        const std::vector<Message> messages = file_messages(file, shown_name);
        for (size_t i = 0; i < messages.size(); ++i) {
            if (!is_response(messages[i])) continue;
            if (i == 0 || is_response(messages[i - 1])) {
                check.expect(false, messages[i].location + ": a response without a request before it");
                continue;
            }
            const Message& request = messages[i - 1];
            if (depends_on_machine(request)) {
                ++skipped;
                continue;
            }
            ++examples;
            const auto response = send_request(check.module().request, wire_bytes(request.lines));
            const std::string shown = wire_bytes(messages[i].lines);
            const std::vector<std::string> accepted = accepted_responses(request, messages[i]);
            const auto allowed = [&](const std::string& bytes) {
                return std::find(accepted.begin(), accepted.end(), bytes) != accepted.end();
            };
            check.expect(response && allowed(*response) && allowed(shown),
                         request.location + "\n  request:  " + printable(wire_bytes(request.lines)) +
                             "\n  expected: " + printable(shown) +
                             "\n  actual:   " + (response ? printable(*response) : "(no block)"));
        }
    }
    check.expect(examples > 0, "examples found in " + directory.string());
    std::printf("%d examples sent; %d skipped: they answer from the file system\n", examples, skipped);
    return check.finish();
}
