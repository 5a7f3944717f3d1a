// Helpers the benchmark programs share: round trips through the module's real
// `request` export, linked into the benchmark program (block in, response
// block out, as a host does it), sample texts, the byte counter, and the plain
// replace loop the text benchmarks compare with.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Sends the request bytes and returns the response bytes.
std::string round_trip(const std::string& request);

// The host's side of a round trip at its cheapest: the request copied into a
// new block, the call, and the answer's block released unread. Returns the
// answer's length.
long send_and_release(std::string_view request);

// Sends "EXECUTE" with the arguments (the command name first) and returns the
// response bytes.
std::string execute(const std::vector<std::string>& arguments);

// Whole copies of `unit` (not empty) up to about `bytes` bytes, never more.
std::string repeat_to_size(std::string_view unit, std::size_t bytes);

// Reports `bytes_per_iteration` bytes for every iteration the state ran.
void set_bytes_processed(benchmark::State& state, std::size_t bytes_per_iteration);

// `text` with every occurrence of `search` (not empty) replaced, found by a
// plain find loop that ignores character boundaries.
std::string plain_replace(std::string_view text, std::string_view search,
                          std::string_view replacement);

// Nanoseconds per call of `call`, over `count` calls in a row.
template <typename Call>
double burst_nanoseconds(int count, Call call) {
    const auto start = std::chrono::steady_clock::now();
    for (int n = 0; n < count; ++n) call();
    const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / count;
}

// Times two requests in alternating bursts, each burst on its own and the
// order swapped every time, once per iteration of the state: `first` and
// `second` each run one burst and return its nanoseconds per round trip. The
// counters `first_name` and `second_name` are the median times, and
// `ratio_name` the median of the per-pair ratios first / second, which holds
// still on a machine whose speed drifts, where two separate runs would not.
void run_paired(benchmark::State& state, const std::function<double()>& first,
                const std::function<double()>& second, const char* first_name, const char* second_name,
                const char* ratio_name);
