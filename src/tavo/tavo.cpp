#include "tavo/tavo.h"

#include <utility>

#include "platform/platform.h"
#include "tavo/commands.h"
#include "tavo/random.h"

namespace {

constexpr bool kFileSystem = true;
constexpr bool kTextOnly = false;

CommandTable make_command_table() {
    CommandTable table;
    table["calc"] = {command_calc, kTextOnly};
    table["calc_float"] = {command_calc_float, kTextOnly};
    table["if"] = {command_if, kTextOnly};
    table["unless"] = {command_unless, kTextOnly};
    table["nswitch"] = {command_nswitch, kTextOnly};
    table["switch"] = {command_switch, kTextOnly};
    table["iflist"] = {command_iflist, kTextOnly};
    table["substr"] = {command_substr, kTextOnly};
    table["split"] = {command_split, kTextOnly};
    table["join"] = {command_join, kTextOnly};
    table["replace"] = {command_replace, kTextOnly};
    table["replace_first"] = {command_replace_first, kTextOnly};
    table["erase"] = {command_erase, kTextOnly};
    table["erase_first"] = {command_erase_first, kTextOnly};
    table["count"] = {command_count, kTextOnly};
    table["compare"] = {command_compare, kTextOnly};
    table["compare_head"] = {command_compare_head, kTextOnly};
    table["compare_tail"] = {command_compare_tail, kTextOnly};
    table["length"] = {command_length, kTextOnly};
    table["is_empty"] = {command_is_empty, kTextOnly};
    table["is_digit"] = {command_is_digit, kTextOnly};
    table["is_alpha"] = {command_is_alpha, kTextOnly};
    table["zen2han"] = {command_zen2han, kTextOnly};
    table["han2zen"] = {command_han2zen, kTextOnly};
    table["hira2kata"] = {command_hira2kata, kTextOnly};
    table["kata2hira"] = {command_kata2hira, kTextOnly};
    table["sprintf"] = {command_sprintf, kTextOnly};
    table["reverse"] = {command_reverse, kTextOnly};
    table["at"] = {command_at, kTextOnly};
    table["choice"] = {command_choice, kTextOnly};
    table["lsimg"] = {command_lsimg, kFileSystem};
    table["mkdir"] = {command_mkdir, kFileSystem};
    return table;
}

// Built once when the library is attached, before any request can arrive, and
// only read afterwards: requests from several threads share it safely.
const CommandTable command_table = make_command_table();

}  // namespace

tavo::tavo() { seed_generator(platform::tick_count()); }

tavo::~tavo() = default;

CommandResult tavo::execute(ArgumentList& arguments, ValueList& values, RequestOrigin origin) {
    if (arguments.empty()) return bad_request("命令が指定されていません");
    const std::string name = std::move(arguments.front());
    arguments.pop_front();
    return dispatch_command(name, arguments, values, origin);
}

CommandResult dispatch_command(const std::string& name, ArgumentList& arguments, ValueList& values,
                               RequestOrigin origin) {
    const auto found = command_table.find(name);
    if (found == command_table.end()) {
        return bad_request("Error: '" + name + "'という名前の命令は定義されていません。");
    }
    const Command& command = found->second;
    if (command.touches_file_system && origin == RequestOrigin::external) return ok("0");
    return command.handler(arguments, values);
}
