#include <algorithm>
#include <string_view>

#include "common/stltool.h"
#include "platform/platform.h"
#include "tavo/commands.h"

namespace {

constexpr std::string_view kImageExtensions[] = {".png", ".jpg", ".jpe", ".jpeg", ".bmp"};

// Whether the name ends with one of the extensions, ASCII capitals taken as
// small letters (every other byte as it is).
bool is_image_name(std::string name) {
    for (char& c : name) c = ascii_lower(c);
    return std::any_of(std::begin(kImageExtensions), std::end(kImageExtensions),
                       [&](std::string_view extension) { return ends_with(name, extension); });
}

}  // namespace

CommandResult command_lsimg(ArgumentList& arguments, ValueList& values) {
    if (arguments.empty()) return ok("0");
    const auto names = platform::list_directory(arguments.front());
    if (!names) return ok("0");
    for (const std::string& name : *names) {
        if (is_image_name(name)) values.push_back(name);
    }
    return ok(std::to_string(values.size()));
}

CommandResult command_mkdir(ArgumentList& arguments, ValueList&) {
    if (arguments.empty()) return ok(std::string());
    return yes_no(platform::create_directory(arguments.front()));
}
