// The native side of the wasm comparison (bench/wasm/compare.mjs): reads one
// request from a file and times round trips through the module's `request`
// export (the request copied into a new block, the call, the answer's block
// released), the same work tavo.js does around tavo.wasm. Prints the mean
// nanoseconds per round trip.
//
//   request-timing REQUEST_FILE MINIMUM_MILLISECONDS
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "bench_support.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: request-timing REQUEST_FILE MINIMUM_MILLISECONDS\n", stderr);
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    const std::string request((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto minimum = std::chrono::milliseconds(std::atol(argv[2]));

    using Clock = std::chrono::steady_clock;
    send_and_release(request);  // warm-up
    long rounds = 0;
    const Clock::time_point start = Clock::now();
    Clock::duration elapsed{};
    // Batches that double in size keep the clock reads rare for small requests.
    for (long batch = 1; elapsed < minimum; batch *= 2) {
        for (long n = 0; n < batch; ++n) send_and_release(request);
        rounds += batch;
        elapsed = Clock::now() - start;
    }
    const double nanoseconds = std::chrono::duration<double, std::nano>(elapsed).count();
    std::printf("%.1f\n", nanoseconds / static_cast<double>(rounds));
    return 0;
}
