// Text commands through the request export on 1 MiB and 16 MiB texts (the
// request copied into the host's block, the call, the answer's block
// released), next to plain loops doing the same work on a std::string: a
// code-point reversal for reverse, a std::string::find loop for replace, a
// lead-byte count for length and a memchr split on "," into strings.
#include "bench_support.h"

#include "cli/module_client.h"
#include "common/stltool.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Mixed Japanese and ASCII prose with the delimiters that split uses.
constexpr std::string_view kUnit =
    "吾輩は猫である。名前はまだ無い。どこで生れたか、とんと見当がつかぬ。"
    "The cat sat, the dog ran; 1904. ";

void run_command(benchmark::State& state, const char* command,
                 std::initializer_list<const char*> operands) {
    const std::string text = repeat_to_size(kUnit, static_cast<std::size_t>(state.range(0)));
    std::vector<std::string> arguments{command, text};
    arguments.insert(arguments.end(), operands.begin(), operands.end());
    const std::string request = execute_request(arguments);
    for (auto _ : state) benchmark::DoNotOptimize(send_and_release(request));
    set_bytes_processed(state, text.size());
}

// Code points copied whole into a buffer of the final size, from the back.
std::string plain_reverse(const std::string& text) {
    std::string reversed(text.size(), '\0');
    std::size_t back = text.size();
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t length = utf8_step(text, position);
        back -= length;
        text.copy(&reversed[back], length, position);
        position += length;
    }
    return reversed;
}

void BM_Reverse(benchmark::State& state) { run_command(state, "reverse", {}); }
void BM_Length(benchmark::State& state) { run_command(state, "length", {}); }
void BM_Split(benchmark::State& state) { run_command(state, "split", {"、。,; "}); }
void BM_SplitComma(benchmark::State& state) { run_command(state, "split", {","}); }
void BM_Replace(benchmark::State& state) { run_command(state, "replace", {"猫", "犬"}); }
void BM_Erase(benchmark::State& state) { run_command(state, "erase", {"猫"}); }
void BM_Count(benchmark::State& state) { run_command(state, "count", {"猫"}); }

void BM_PlainReverse(benchmark::State& state) {
    const std::string text = repeat_to_size(kUnit, static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::string reversed = plain_reverse(text);
        benchmark::DoNotOptimize(reversed);
    }
    set_bytes_processed(state, text.size());
}

void BM_PlainReplace(benchmark::State& state) {
    const std::string text = repeat_to_size(kUnit, static_cast<std::size_t>(state.range(0)));
    const std::string search = "猫";
    const std::string replacement = "犬";
    for (auto _ : state) {
        std::string replaced = plain_replace(text, search, replacement);
        benchmark::DoNotOptimize(replaced);
    }
    set_bytes_processed(state, text.size());
}

// The pieces between commas (empty ones skipped), found with memchr.
void BM_PlainSplit(benchmark::State& state) {
    const std::string text = repeat_to_size(kUnit, static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::vector<std::string> pieces;
        const char* at = text.data();
        const char* const end = at + text.size();
        while (at < end) {
            const void* found = std::memchr(at, ',', static_cast<std::size_t>(end - at));
            const char* stop = found == nullptr ? end : static_cast<const char*>(found);
            if (stop > at) pieces.emplace_back(at, stop);
            at = stop + 1;
        }
        benchmark::DoNotOptimize(pieces);
    }
    set_bytes_processed(state, text.size());
}

// Characters counted as the bytes that do not continue a character.
void BM_PlainLength(benchmark::State& state) {
    const std::string text = repeat_to_size(kUnit, static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::size_t count = 0;
        for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        benchmark::DoNotOptimize(count);
    }
    set_bytes_processed(state, text.size());
}

constexpr int64_t kOneMiB = int64_t{1} << 20;

}  // namespace

BENCHMARK(BM_Reverse)->Arg(kOneMiB)->Arg(16 * kOneMiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainReverse)->Arg(kOneMiB)->Arg(16 * kOneMiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Replace)->Arg(kOneMiB)->Arg(16 * kOneMiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainReplace)->Arg(kOneMiB)->Arg(16 * kOneMiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Length)->Arg(kOneMiB)->Arg(16 * kOneMiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainLength)->Arg(kOneMiB)->Arg(16 * kOneMiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Split)->Arg(kOneMiB)->Arg(16 * kOneMiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SplitComma)->Arg(kOneMiB)->Arg(16 * kOneMiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainSplit)->Arg(kOneMiB)->Arg(16 * kOneMiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Erase)->Arg(kOneMiB)->Arg(16 * kOneMiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Count)->Arg(kOneMiB)->Arg(16 * kOneMiB)->Unit(benchmark::kMillisecond);
