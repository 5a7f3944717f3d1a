#include "tavo/tavo.h"

#include <utility>

#include "platform/platform.h"
#include "tavo/commands.h"
#include "tavo/random.h"

namespace {

CommandTable make_command_table() {
    CommandTable table;
    table["calc"] = command_calc;
    table["calc_float"] = command_calc_float;
    table["if"] = command_if;
    table["unless"] = command_unless;
    table["nswitch"] = command_nswitch;
    table["switch"] = command_switch;
    table["iflist"] = command_iflist;
    table["substr"] = command_substr;
    table["split"] = command_split;
    table["join"] = command_join;
    table["replace"] = command_replace;
    table["replace_first"] = command_replace_first;
    table["erase"] = command_erase;
    table["erase_first"] = command_erase_first;
    table["count"] = command_count;
    table["compare"] = command_compare;
    table["compare_head"] = command_compare_head;
    table["compare_tail"] = command_compare_tail;
    table["length"] = command_length;
    table["is_empty"] = command_is_empty;
    table["is_digit"] = command_is_digit;
    table["is_alpha"] = command_is_alpha;
    table["zen2han"] = command_zen2han;
    table["han2zen"] = command_han2zen;
    table["hira2kata"] = command_hira2kata;
    table["kata2hira"] = command_kata2hira;
    table["sprintf"] = command_sprintf;
    table["reverse"] = command_reverse;
    table["at"] = command_at;
    table["choice"] = command_choice;
    table["lsimg"] = command_lsimg;
    table["mkdir"] = command_mkdir;
    return table;
}

// Built once when the library is attached, before any request can arrive, and
// only read afterwards: requests from several threads share it safely.
const CommandTable command_table = make_command_table();

}  // namespace

tavo::tavo() { seed_generator(platform::tick_count()); }

tavo::~tavo() = default;

CommandResult tavo::execute(ArgumentList& arguments, ValueList& values) {
    if (arguments.empty()) return bad_request("命令が指定されていません");
    const std::string name = std::move(arguments.front());
    arguments.pop_front();
    return dispatch_command(name, arguments, values);
}

CommandResult dispatch_command(const std::string& name, ArgumentList& arguments, ValueList& values) {
    const auto found = command_table.find(name);
    if (found == command_table.end()) {
        return bad_request("Error: '" + name + "'という名前の命令は定義されていません。");
    }
    return found->second(arguments, values);
}
