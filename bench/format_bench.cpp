// sprintf per call through the full request round trip: one conversion of
// each kind, a typical mixed template, a template without conversions as the
// floor, and the largest field the clamp allows.
#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void BM_Sprintf(benchmark::State& state, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "sprintf");
    for (auto _ : state) {
        std::string response = execute(arguments);
        benchmark::DoNotOptimize(response);
    }
}

BENCHMARK_CAPTURE(BM_Sprintf, no_conversion, {"abc"});
BENCHMARK_CAPTURE(BM_Sprintf, signed_zero_fill, {"%05d", "-42"});
BENCHMARK_CAPTURE(BM_Sprintf, full_width_integer, {"%d", "１２３４５"});
BENCHMARK_CAPTURE(BM_Sprintf, hexadecimal_prefix, {"%#x", "255"});
BENCHMARK_CAPTURE(BM_Sprintf, fixed, {"%.2f", "3.14159"});
BENCHMARK_CAPTURE(BM_Sprintf, scientific, {"%e", "6.02214076e23"});
BENCHMARK_CAPTURE(BM_Sprintf, general, {"%g", "0.000123456"});
BENCHMARK_CAPTURE(BM_Sprintf, text_left, {"%-10s|", "ＡＢＣ"});
BENCHMARK_CAPTURE(BM_Sprintf, mixed_template,
                  {"%s は %d 歳、身長 %.1f cm (%#x)", "はなこ", "１７", "１６５．４", "255"});
BENCHMARK_CAPTURE(BM_Sprintf, clamped_field, {"%4096.4096f", "1e300"});

}  // namespace
