// `choice` through the module file: the picks are r mod n for the MT19937
// outputs of a seed taken from the tick count while the module loaded.
#include "host_check.h"
#include "platform/platform.h"

namespace {

constexpr int kChoices = 1000;
constexpr int kDraws = 40;

}  // namespace

int main(int argc, char** argv) {
    const uint32_t before = platform::tick_count();
    HostCheck check(argc, argv);
    const uint32_t after = platform::tick_count();

    const std::vector<std::string> arguments = numbered_choice(kChoices);
    std::vector<int> picks;
    for (int draw = 0; draw < kDraws; ++draw) picks.push_back(std::stoi(check.execute(arguments).result));

    bool found = false;
    for (uint32_t seed = before; seed != after + 1 && !found; ++seed) found = generator_picks(seed, picks.size(), kChoices) == picks;
    check.expect(found, "the picks follow MT19937 seeded with the tick count at load");

    check.expect(check.execute({"choice"}).result.empty(), "no arguments give the empty text");
    const ParsedResponse single = check.execute({"choice", ""});
    check.expect(single.status == 200 && single.result.empty(), "one empty argument comes back");
    check.expect(check.execute({"choice", "ＡＢ "}).result == "ＡＢ ", "the pick is unchanged");
    return check.finish();
}
