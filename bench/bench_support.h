// Helpers the benchmark programs share: round trips through the module's real
// `request` export, linked into the benchmark program (block in, response
// block out, as a host does it), sample texts, the byte counter, and the plain
// replace loop the text benchmarks compare with.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
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
