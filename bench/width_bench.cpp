// Width and kana conversions through the full request round trip on 1 MiB and
// 16 MiB of mixed Japanese text, next to ICU's transliterators on the same
// text (UTF-8 in, UTF-8 out), and compare per call.
//
// ICU's transliterate edits one UnicodeString in place, which takes time
// quadratic in its length on a large text (over a minute for 16 MiB), so ICU
// gets the text in pieces of whole sample units, about 64 KiB each, as a
// program would feed it a large text.
#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Prose with hiragana, kanji, full-width and half-width katakana (voiced ones
// too), full-width and ASCII letters, digits and symbols.
constexpr std::string_view kUnit =
    "ガッコウのセンセイは「ＡＢＣ１２３」と言った。ﾃﾞｰﾀﾍﾞｰｽをｶﾞｲﾄﾞする、"
    "ひらがなとカタカナ！　ぱぴぷぺぽ（パピプペポ） Data 2024: ok, x/y*z. ";

void run_command(benchmark::State& state, const char* command) {
    const std::string text = repeat_to_size(kUnit, static_cast<std::size_t>(state.range(0)));
    const std::vector<std::string> arguments{command, text};
    for (auto _ : state) {
        std::string response = execute(arguments);
        benchmark::DoNotOptimize(response);
    }
    set_bytes_processed(state, text.size());
}

void run_icu(benchmark::State& state, const char* transliterator_id) {
    const std::string text = repeat_to_size(kUnit, static_cast<std::size_t>(state.range(0)));
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::Transliterator> transliterator(
        icu::Transliterator::createInstance(transliterator_id, UTRANS_FORWARD, status));
    if (U_FAILURE(status)) {
        state.SkipWithError("ICU transliterator unavailable");
        return;
    }
    const std::size_t piece_size = (64 * 1024 / kUnit.size()) * kUnit.size();
    for (auto _ : state) {
        std::string converted;
        for (std::size_t start = 0; start < text.size(); start += piece_size) {
            const std::string_view piece = std::string_view(text).substr(start, piece_size);
            icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(
                icu::StringPiece(piece.data(), static_cast<int32_t>(piece.size())));
            transliterator->transliterate(unicode);
            unicode.toUTF8String(converted);
        }
        benchmark::DoNotOptimize(converted);
    }
    set_bytes_processed(state, text.size());
}

void BM_Zen2han(benchmark::State& state) { run_command(state, "zen2han"); }
void BM_Han2zen(benchmark::State& state) { run_command(state, "han2zen"); }
void BM_Hira2kata(benchmark::State& state) { run_command(state, "hira2kata"); }
void BM_Kata2hira(benchmark::State& state) { run_command(state, "kata2hira"); }
void BM_IcuFullwidthHalfwidth(benchmark::State& state) { run_icu(state, "Fullwidth-Halfwidth"); }
void BM_IcuHalfwidthFullwidth(benchmark::State& state) { run_icu(state, "Halfwidth-Fullwidth"); }
void BM_IcuHiraganaKatakana(benchmark::State& state) { run_icu(state, "Hiragana-Katakana"); }
void BM_IcuKatakanaHiragana(benchmark::State& state) { run_icu(state, "Katakana-Hiragana"); }

BENCHMARK(BM_Zen2han)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IcuFullwidthHalfwidth)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Han2zen)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IcuHalfwidthFullwidth)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Hira2kata)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IcuHiraganaKatakana)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Kata2hira)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IcuKatakanaHiragana)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);

// One short comparison per request, full-width against half-width.
void BM_Compare(benchmark::State& state) {
    const std::vector<std::string> arguments{"compare", "ＡＢＣテスト１２３", "abcﾃｽﾄ123"};
    for (auto _ : state) {
        std::string response = execute(arguments);
        benchmark::DoNotOptimize(response);
    }
}
BENCHMARK(BM_Compare);

}  // namespace
