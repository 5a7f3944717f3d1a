// replace_all, erase_all and count_occurrences on 1 MiB and 16 MiB of mixed
// Japanese and ASCII text, each next to a plain std::string::find loop doing
// the same job (which ignores character boundaries).
#include "bench_support.h"
#include "common/stltool.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace {

// Sentences picked at random, so that occurrences are spread unevenly.
std::string sample_text(std::size_t bytes) {
    static const char* const kSentences[] = {
        "吾輩は猫である。名前はまだ無い。",
        "どこで生れたか、とんと見当がつかぬ。",
        "何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは記憶している。",
        "The cat sat on the mat, and the dog ran after it. ",
        "今日の天気は晴れ、明日の天気は雨でしょう。",
        "Version 2.5 was released in 1904; see chapter 12. ",
        "カタカナとひらがな、そして漢字が混ざった文章です。",
    };
    std::mt19937 random(1);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kSentences) - 1);
    std::string text;
    text.reserve(bytes);
    for (;;) {
        const std::string_view sentence = kSentences[pick(random)];
        if (text.size() + sentence.size() > bytes) break;
        text += sentence;
    }
    return text;
}

struct Job {
    const char* search;
    const char* replacement;
};

// A frequent kana word, an ideograph pair and an ASCII word.
constexpr Job kJobs[] = {{"の", "ノ"}, {"天気", "てんき"}, {"the", "THE"}};

std::size_t plain_count(const std::string& text, std::string_view search) {
    std::size_t count = 0;
    for (std::size_t pos = text.find(search); pos != std::string::npos;
         pos = text.find(search, pos + search.size())) {
        ++count;
    }
    return count;
}

void set_counters(benchmark::State& state, const std::string& text) {
    set_bytes_processed(state, text.size());
    state.SetLabel(kJobs[state.range(1)].search);
}

void BM_CountOccurrences(benchmark::State& state) {
    const std::string text = sample_text(static_cast<std::size_t>(state.range(0)));
    const Job& job = kJobs[state.range(1)];
    for (auto _ : state) benchmark::DoNotOptimize(count_occurrences(text, job.search));
    set_counters(state, text);
}

void BM_CountPlainFind(benchmark::State& state) {
    const std::string text = sample_text(static_cast<std::size_t>(state.range(0)));
    const Job& job = kJobs[state.range(1)];
    for (auto _ : state) benchmark::DoNotOptimize(plain_count(text, job.search));
    set_counters(state, text);
}

// The text is copied back outside the timed part before every run.
template <typename Operation>
void run_in_place(benchmark::State& state, Operation operation) {
    const std::string original = sample_text(static_cast<std::size_t>(state.range(0)));
    std::string text;
    for (auto _ : state) {
        state.PauseTiming();
        text = original;
        state.ResumeTiming();
        operation(text);
        benchmark::DoNotOptimize(text.data());
    }
    set_counters(state, original);
}

void BM_ReplaceAll(benchmark::State& state) {
    const Job& job = kJobs[state.range(1)];
    run_in_place(state, [&](std::string& text) { replace_all(text, job.search, job.replacement); });
}

void BM_ReplacePlainFind(benchmark::State& state) {
    const Job& job = kJobs[state.range(1)];
    run_in_place(state, [&](std::string& text) {
        text = plain_replace(text, job.search, job.replacement);
    });
}

void BM_EraseAll(benchmark::State& state) {
    const Job& job = kJobs[state.range(1)];
    run_in_place(state, [&](std::string& text) { erase_all(text, job.search); });
}

void BM_ErasePlainFind(benchmark::State& state) {
    const Job& job = kJobs[state.range(1)];
    run_in_place(state, [&](std::string& text) { text = plain_replace(text, job.search, ""); });
}

void sizes_and_jobs(benchmark::internal::Benchmark* benchmark) {
    for (const int64_t size : {int64_t{1} << 20, int64_t{16} << 20}) {
        for (int64_t job = 0; job < static_cast<int64_t>(std::size(kJobs)); ++job) {
            benchmark->Args({size, job});
        }
    }
    benchmark->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_CountOccurrences)->Apply(sizes_and_jobs);
BENCHMARK(BM_CountPlainFind)->Apply(sizes_and_jobs);
BENCHMARK(BM_ReplaceAll)->Apply(sizes_and_jobs);
BENCHMARK(BM_ReplacePlainFind)->Apply(sizes_and_jobs);
BENCHMARK(BM_EraseAll)->Apply(sizes_and_jobs);
BENCHMARK(BM_ErasePlainFind)->Apply(sizes_and_jobs);

}  // namespace
