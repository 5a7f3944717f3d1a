// calc and calc_float on typical short expressions through the full request
// round trip (request text in, response text out).
#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void run(benchmark::State& state, std::vector<std::string> arguments) {
    for (auto _ : state) {
        std::string response = execute(arguments);
        benchmark::DoNotOptimize(response);
    }
}

void BM_CalcArithmetic(benchmark::State& state) { run(state, {"calc", "1+2*3"}); }
void BM_CalcParenthesised(benchmark::State& state) { run(state, {"calc", "(12+34)*5-6/2"}); }
void BM_CalcFullWidth(benchmark::State& state) { run(state, {"calc", "（１２＋３４）×５"}); }
void BM_CalcComparison(benchmark::State& state) { run(state, {"calc", "3>2&&10<=10"}); }
void BM_CalcTexts(benchmark::State& state) { run(state, {"calc", "おはよう+ございます"}); }
void BM_CalcFailure(benchmark::State& state) { run(state, {"calc", "1+"}); }
void BM_CalcFloatDivision(benchmark::State& state) { run(state, {"calc_float", "10/4"}); }
void BM_CalcFloatMixed(benchmark::State& state) {
    run(state, {"calc_float", "(1.5+2.25)*3-0.125"});
}
void BM_CalcFloatFullWidth(benchmark::State& state) { run(state, {"calc_float", "１．５＋１"}); }
void BM_If(benchmark::State& state) { run(state, {"if", "1<2", "yes", "no"}); }
void BM_Switch(benchmark::State& state) {
    run(state, {"switch", "3", "1", "a", "2", "b", "3", "c"});
}

BENCHMARK(BM_CalcArithmetic);
BENCHMARK(BM_CalcParenthesised);
BENCHMARK(BM_CalcFullWidth);
BENCHMARK(BM_CalcComparison);
BENCHMARK(BM_CalcTexts);
BENCHMARK(BM_CalcFailure);
BENCHMARK(BM_CalcFloatDivision);
BENCHMARK(BM_CalcFloatMixed);
BENCHMARK(BM_CalcFloatFullWidth);
BENCHMARK(BM_If);
BENCHMARK(BM_Switch);

}  // namespace
