// The worst small requests: each row is one request shape that once blocked
// the host for seconds or took hundreds of MB. Every row runs once through the
// module's request export in a child process of its own and reports its
// time (elapsed and processor time), its peak memory (the growth of the resident set over the child's
// start) and the memory bound it must keep: 32 bytes per request byte, 3 per
// answer byte and 24 MB.
//
//   request-limits
#include <sys/wait.h>
#include <unistd.h>

#include <time.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "cli/module_client.h"

namespace {

struct Row {
    const char* shape;
    std::string (*request)();
};

std::string times(const std::string& unit, std::size_t count) {
    std::string text;
    text.reserve(unit.size() * count);
    for (std::size_t i = 0; i < count; ++i) text += unit;
    return text;
}

const std::string& long_text() {
    static const std::string text = times("a", 1000000);
    return text;
}

const std::string& long_search() {
    static const std::string text = times("a", 500000) + "b";
    return text;
}

std::string format_request() {
    std::vector<std::string> arguments = {"sprintf", times("%.4096f", 65534)};
    arguments.insert(arguments.end(), 65534, "1e308");
    return execute_request(arguments);
}

// Each request is built in the child process that sends it.
const Row kRows[] = {
    {"calc b*16777216 then -ba x100",
     [] { return execute_request({"calc", "b*16777216" + times("-ba", 100)}); }},
    {"if b*16777216, -ba x40, <3",
     [] { return execute_request({"if", "b*16777216" + times("-ba", 40) + "<3", "1", "0"}); }},
    {"count a x1M for a x500k + b",
     [] { return execute_request({"count", long_text(), long_search()}); }},
    {"replace, same shape",
     [] { return execute_request({"replace", long_text(), long_search(), "x"}); }},
    {"erase, same shape", [] { return execute_request({"erase", long_text(), long_search()}); }},
    {"replace_first, same shape",
     [] { return execute_request({"replace_first", long_text(), long_search(), "x"}); }},
    {"erase_first, same shape",
     [] { return execute_request({"erase_first", long_text(), long_search()}); }},
    {"calc text -, same shape",
     [] { return execute_request({"calc", long_text() + "-" + long_search()}); }},
    {"sprintf %.4096f x65534 of 1e308", format_request},
    {"calc 3M - then 1", [] { return execute_request({"calc", times("-", 3000000) + "1"}); }},
    {"calc 1+1+... (2.9 MB)",
     [] { return execute_request({"calc", times("1+", 1450000) + "1"}); }},
    {"split a x3M, empty separator",
     [] { return execute_request({"split", times("a", 3000000), ""}); }},
    {"1.5M empty lines", [] { return "EXECUTE SAORI/1.0\r\n" + times("\r\n", 1500000); }},
};

// A field of /proc/self/status in KiB.
long status_kib(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.compare(0, prefix.size(), prefix) == 0) return std::stol(line.substr(prefix.size()));
    }
    return 0;
}

// Processor time of this process, user and system: what the request costs
// when other programs share the processors.
double cpu_seconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Measure {
    std::size_t request_bytes;
    double seconds;
    double cpu_seconds;
    long peak_kib;
    std::size_t answer_bytes;
    int status;
};

// Runs in the child: builds the request, then measures one round trip. The
// peak of the resident set is reset first ("5" to clear_refs), so that it
// counts from the start of the round trip.
Measure measure(const Row& row) {
    const std::string request = row.request();
    std::ofstream("/proc/self/clear_refs") << "5";
    const long start_kib = status_kib("VmRSS");
    const double start_cpu = cpu_seconds();
    const auto start = std::chrono::steady_clock::now();
    const std::string response = round_trip(request);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return {request.size(), elapsed.count(), cpu_seconds() - start_cpu, status_kib("VmHWM") - start_kib, response.size(),
            parse_response(response.substr(0, 64)).status};
}

}  // namespace

int main() {
    std::printf("| request | size | status | time | CPU time | peak memory | bound |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    for (const Row& row : kRows) {
        int pipe_ends[2];
        if (pipe(pipe_ends) != 0) return 1;
        const pid_t child = fork();
        if (child == 0) {
            close(pipe_ends[0]);
            const Measure result = measure(row);
            const ssize_t written = write(pipe_ends[1], &result, sizeof result);
            _exit(written == static_cast<ssize_t>(sizeof result) ? 0 : 1);
        }
        close(pipe_ends[1]);
        Measure result{};
        const bool read_whole = read(pipe_ends[0], &result, sizeof result) ==
                                static_cast<ssize_t>(sizeof result);
        close(pipe_ends[0]);
        int child_status = 0;
        waitpid(child, &child_status, 0);
        if (!read_whole) {
            std::printf("| %s | child failed |\n", row.shape);
            continue;
        }
        const double bound_mb =
            (32.0 * result.request_bytes + 3.0 * result.answer_bytes) / 1e6 + 24.0;
        std::printf("| %s | %.2f MB | %d | %.3f s | %.3f s | %.1f MB | %.1f MB |\n", row.shape,
                    result.request_bytes / 1e6, result.status, result.seconds, result.cpu_seconds,
                    result.peak_kib * 1024 / 1e6, bound_mb);
        std::fflush(stdout);
    }
    return 0;
}
