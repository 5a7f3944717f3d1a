// The cost of the request path itself: small EXECUTE requests through the
// exports, each next to the floor of an export that only copies the request
// in and hands back a fixed answer, measured in the same run. After the
// usual output the program prints one table: median CPU time per round
// trip, the multiple of the floor, and the heap allocations (operator new)
// per round trip. Both sides also allocate the two blocks, with malloc.
// The paired columns come from alternating bursts of the row and the floor
// (BM_Paired), the steadier ratio on a machine whose speed drifts.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "bench_support.h"
#include "cli/module_client.h"
#include "host/exports.h"
#include "platform/platform.h"

namespace {

std::atomic<long> allocations{0};

}  // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}

// These are the replacements of the pair above, so malloc and free do match;
// GCC cannot tell once it has inlined the operators.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
#pragma GCC diagnostic pop

namespace {

const std::string kFixedAnswer = "SAORI/1.0 200 OK\r\nCharset: UTF-8\r\nResult: 3\r\n\r\n";

// The least any export must do: take the host's block, keep the bytes, and
// hand back a new block with an answer.
HGLOBAL floor_module(HGLOBAL h, long* len) {
    const std::string text = platform::take_block(h, *len).value_or(std::string());
    benchmark::DoNotOptimize(text.data());
    *len = static_cast<long>(kFixedAnswer.size());
    return platform::make_block(kFixedAnswer);
}

struct Row {
    const char* name;
    std::vector<std::string> arguments;
};

const Row kRows[] = {
    {"substr あいうえお 1 2", {"substr", "あいうえお", "1", "2"}},
    {"replace abcabc b X", {"replace", "abcabc", "b", "X"}},
    {"zen2han ＡＢＣ１２３", {"zen2han", "ＡＢＣ１２３"}},
    {"sprintf %05d 42", {"sprintf", "%05d", "42"}},
    {"choice a b c", {"choice", "a", "b", "c"}},
    {"if 1<2 yes no", {"if", "1<2", "yes", "no"}},
    {"calc 1+2*3", {"calc", "1+2*3"}},
    {"calc_float 10/4", {"calc_float", "10/4"}},
};

void count_allocations(benchmark::State& state, long before) {
    state.counters["allocs"] = benchmark::Counter(
        static_cast<double>(allocations.load() - before) / static_cast<double>(state.iterations()));
}

void BM_Floor(benchmark::State& state, std::string request) {
    const long before = allocations.load();
    for (auto _ : state) benchmark::DoNotOptimize(send_request(floor_module, request));
    count_allocations(state, before);
}

void BM_Execute(benchmark::State& state, std::string request) {
    const long before = allocations.load();
    for (auto _ : state) benchmark::DoNotOptimize(round_trip(request));
    count_allocations(state, before);
}

// The module's request and the floor in alternating bursts of the same size,
// each burst timed on its own, the order swapped every time: the median of
// the per-pair ratios holds still on a machine whose speed drifts from one
// second to the next, where two separate runs would not.
constexpr int kBurst = 200;

// One burst of round trips through an export.
double burst_through(platform::RequestFunction export_function, const std::string& request) {
    return burst_nanoseconds(kBurst, [&] { benchmark::DoNotOptimize(send_request(export_function, request)); });
}

void BM_Paired(benchmark::State& state, std::string request) {
    run_paired(
        state, [&] { return burst_through(::request, request); },
        [&] { return burst_through(floor_module, request); }, "ns", "floor_ns", "x_floor");
}

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
    for (auto _ : state) benchmark::DoNotOptimize(send_request(floor_module, text));
    set_bytes_processed(state, text.size());
}
BENCHMARK(BM_OneMebibyteFloor);

// Keeps the median CPU time and the allocation counter of every run, and
// prints the table of the small requests at the end.
class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
            Result& result = results_[run.run_name.function_name + run.run_name.args];
            result.nanoseconds = run.GetAdjustedCPUTime();
            for (const auto& [name, counter] : run.counters) result.counters[name] = counter.value;
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n| request | ns | floor ns | x floor | paired ns | paired floor ns "
                    "| paired x floor | allocations | floor allocations |\n");
        std::printf("|---|---|---|---|---|---|---|---|---|\n");
        for (const Row& row : kRows) {
            Result& module = results_["BM_Execute/" + std::string(row.name)];
            Result& floor = results_["BM_Floor/" + std::string(row.name)];
            Result& paired = results_["BM_Paired/" + std::string(row.name)];
            std::printf("| `%s` | %.0f | %.0f | %.1f | %.0f | %.0f | %.2f | %.1f | %.1f |\n",
                        row.name, module.nanoseconds, floor.nanoseconds,
                        module.nanoseconds / floor.nanoseconds, paired.counters["ns"],
                        paired.counters["floor_ns"], paired.counters["x_floor"],
                        module.counters["allocs"], floor.counters["allocs"]);
        }
    }

private:
    struct Result {
        double nanoseconds = 0;
        std::map<std::string, double> counters;
    };
    std::map<std::string, Result> results_;
};

}  // namespace

int main(int argc, char** argv) {
    // Each row's floor runs right before the row itself.
    for (const Row& row : kRows) {
        const std::string request = execute_request(row.arguments);
        benchmark::RegisterBenchmark((std::string("BM_Floor/") + row.name).c_str(), BM_Floor, request);
        benchmark::RegisterBenchmark((std::string("BM_Execute/") + row.name).c_str(), BM_Execute,
                                     request);
        benchmark::RegisterBenchmark((std::string("BM_Paired/") + row.name).c_str(), BM_Paired,
                                     request);
    }
    benchmark::Initialize(&argc, argv);
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
