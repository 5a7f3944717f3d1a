#include "bench_support.h"

#include "cli/module_client.h"
#include "host/exports.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstdint>


std::string round_trip(const std::string& request_text) {
    return send_request(request, request_text).value_or(std::string());
}

long send_and_release(std::string_view request_text) {
    long length = static_cast<long>(request_text.size());
    HGLOBAL answer = request(platform::make_block(request_text), &length);
    platform::take_block(answer, 0);
    return length;
}

std::string execute(const std::vector<std::string>& arguments) {
    return round_trip(execute_request(arguments));
}

std::string repeat_to_size(std::string_view unit, std::size_t bytes) {
    std::string text;
    text.reserve(bytes + unit.size());
    while (text.size() + unit.size() <= bytes) text += unit;
    return text;
}

void set_bytes_processed(benchmark::State& state, std::size_t bytes_per_iteration) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(bytes_per_iteration));
}

std::string plain_replace(std::string_view text, std::string_view search,
                          std::string_view replacement) {
    std::string result;
    result.reserve(text.size());
    std::size_t copied = 0;
    for (std::size_t found = text.find(search); found != std::string_view::npos;
         found = text.find(search, copied)) {
        result.append(text, copied, found - copied);
        result += replacement;
        copied = found + search.size();
    }
    result.append(text, copied, std::string_view::npos);
    return result;
}

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

}  // namespace

void run_paired(benchmark::State& state, const std::function<double()>& first,
                const std::function<double()>& second, const char* first_name, const char* second_name,
                const char* ratio_name) {
    std::vector<double> first_times;
    std::vector<double> second_times;
    std::vector<double> ratios;
    bool first_first = true;
    for (auto _ : state) {
        double first_time = 0;
        double second_time = 0;
        if (first_first) {
            first_time = first();
            second_time = second();
        } else {
            second_time = second();
            first_time = first();
        }
        first_first = !first_first;
        first_times.push_back(first_time);
        second_times.push_back(second_time);
        ratios.push_back(first_time / second_time);
    }
    state.counters[first_name] = median(first_times);
    state.counters[second_name] = median(second_times);
    state.counters[ratio_name] = median(ratios);
}
