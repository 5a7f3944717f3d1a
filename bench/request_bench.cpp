// The cost of the request path itself: a small EXECUTE through the exports,
// next to the floor of an export that only copies the request in and a
// response of the same size out.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_support.h"
#include "cli/module_client.h"
#include "platform/platform.h"

namespace {

// The least any export must do: take the host's block, keep the bytes, and
// hand back a new block.
HGLOBAL copy_in_copy_out(HGLOBAL h, long* len) {
    const std::string text = platform::take_block(h, *len).value_or(std::string());
    return platform::make_block(text);
}

const std::string kSmallRequest = execute_request({"length", "abc"});

void BM_SmallExecute(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(round_trip(kSmallRequest));
}
BENCHMARK(BM_SmallExecute);

void BM_CopyInCopyOutFloor(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(send_request(copy_in_copy_out, kSmallRequest));
}
BENCHMARK(BM_CopyInCopyOutFloor);

// Framing and argument collection stay linear: many lines, or one big argument.
void BM_TenThousandArguments(benchmark::State& state) {
    std::vector<std::string> arguments = {"is_empty"};
    for (int n = 0; n < 10000; ++n) arguments.push_back("argument");
    const std::string text = execute_request(arguments);
    for (auto _ : state) benchmark::DoNotOptimize(round_trip(text));
    set_bytes_processed(state, text.size());
}
BENCHMARK(BM_TenThousandArguments);

void BM_OneMebibyteArgument(benchmark::State& state) {
    const std::string text = execute_request({"is_empty", std::string(1 << 20, 'x')});
    for (auto _ : state) benchmark::DoNotOptimize(round_trip(text));
    set_bytes_processed(state, text.size());
}
BENCHMARK(BM_OneMebibyteArgument);

void BM_OneMebibyteFloor(benchmark::State& state) {
    const std::string text = execute_request({"is_empty", std::string(1 << 20, 'x')});
    for (auto _ : state) benchmark::DoNotOptimize(send_request(copy_in_copy_out, text));
    set_bytes_processed(state, text.size());
}
BENCHMARK(BM_OneMebibyteFloor);

}  // namespace
