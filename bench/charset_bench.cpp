// Requests in Shift_JIS next to the same requests in UTF-8: a small zen2han
// of 20 characters, and length and replace over 1 MiB of Shift_JIS text
// (mixed Japanese and English prose). Each pair runs in alternating bursts,
// each burst timed on its own and the order swapped every time; the counters
// are the median time of each side and the median of the per-pair ratios,
// x_utf8, which holds still on a machine whose speed drifts.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_support.h"
#include "cli/module_client.h"
#include "common/charset.h"

namespace {

constexpr std::string_view kUnit =
    "吾輩は猫である。名前はまだ無い。どこで生れたか、とんと見当がつかぬ。"
    "The cat sat, the dog ran; 1904. ";

struct Twins {
    std::string shift_jis;
    std::string utf8;
};

// The request in UTF-8 and in Shift_JIS, the texts the same characters.
Twins twins(const std::vector<std::string>& arguments) {
    std::vector<std::string> encoded;
    for (const std::string& argument : arguments) encoded.push_back(from_utf8(argument, Charset::shift_jis));
    return {execute_request(encoded, "Shift_JIS"), execute_request(arguments)};
}

void BM_ShiftJisBesideUtf8(benchmark::State& state, const Twins& requests, int burst) {
    const auto burst_of = [burst](const std::string& request) {
        return burst_nanoseconds(burst, [&] { benchmark::DoNotOptimize(send_and_release(request)); });
    };
    run_paired(
        state, [&] { return burst_of(requests.shift_jis); }, [&] { return burst_of(requests.utf8); }, "sjis_ns",
        "utf8_ns", "x_utf8");
}

}  // namespace

int main(int argc, char** argv) {
    // About 1 MiB in Shift_JIS: 102 bytes a unit there, 137 in UTF-8.
    static const std::string text = repeat_to_size(kUnit, (std::size_t{1} << 20) * 137 / 102);
    static const Twins small = twins({"zen2han", "ＡＢＣＤＥＦＧＨＩＪ１２３４５６７８９０"});
    static const Twins length = twins({"length", text});
    static const Twins replace = twins({"replace", text, "猫", "犬"});
    benchmark::RegisterBenchmark("zen2han 20 characters", BM_ShiftJisBesideUtf8, small, 200);
    benchmark::RegisterBenchmark("length 1 MiB", BM_ShiftJisBesideUtf8, length, 2);
    benchmark::RegisterBenchmark("replace 1 MiB", BM_ShiftJisBesideUtf8, replace, 2);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
