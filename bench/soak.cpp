// Sends 1,000,000 mixed requests through the exports and reports the
// resident memory after a warm-up and at the end; the two should match.
//
//   soak [REQUESTS]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "cli/module_client.h"

namespace {

long resident_kib() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * 4;
}

const std::vector<std::vector<std::string>> kMix = {
    {"calc", "(1+2)*3-4/2"},          {"calc", "ab*3+cd"},
    {"calc_float", "１．５＋２/3"},   {"if", "1<2", "yes", "no"},
    {"unless", "abc", "yes"},         {"switch", "2", "1", "one", "2", "two"},
    {"iflist", "5", ">3", "big"},     {"nswitch", "2", "a", "b"},
    {"substr", "あいうえお", "1", "2"}, {"at", "あいう", "2"},
    {"length", "aあ😀"},              {"reverse", "aあb"},
    {"is_empty", ""},                 {"split", "a,b,,c", ","},
    {"join", "、", "a", "b", "c"},    {"replace", "abcabc", "b", "XY"},
    {"replace_first", "abc", "", "X"}, {"erase", "abcabc", "b"},
    {"erase_first", "abcabc", "b"},   {"count", "ああああ", "ああ"},
    {"compare", "ＡＢＣ", "abc"},     {"compare_head", "ガギ", "ｶﾞ"},
    {"compare_tail", "テスト", "ﾄ"},   {"is_digit", "－１２３"},
    {"is_alpha", "abcＡＢＣ"},        {"zen2han", "ガッコウ、ＡＢＣ１２３"},
    {"han2zen", "ｶﾞｷﾞｸﾞ a-b"},        {"hira2kata", "ひらがな"},
    {"kata2hira", "カタカナ"},        {"sprintf", "%05d|%-8.3f|%#x|%s", "-42", "3.14159", "255", "ＡＢＣ"},
    {"choice", "a", "b", "c"},        {"lsimg", "."},
    {"nosuch"},                       {"calc", "1+"},
};

}  // namespace

int main(int argc, char** argv) {
    const long total = argc > 1 ? std::atol(argv[1]) : 1000000;
    std::vector<std::string> requests;
    for (const auto& arguments : kMix) requests.push_back(execute_request(arguments));
    requests.push_back("GET Version SAORI/1.0\r\n\r\n");
    requests.push_back(std::string("\0\xFF\r\n: \r\n", 7));

    const long warm_up = total / 100;
    long start_kib = 0;
    std::size_t bytes = 0;
    for (long n = 0; n < total; ++n) {
        if (n == warm_up) start_kib = resident_kib();
        bytes += round_trip(requests[static_cast<std::size_t>(n) % requests.size()]).size();
    }
    const long end_kib = resident_kib();
    std::printf("requests: %ld, response bytes: %zu\n", total, bytes);
    std::printf("resident memory after %ld requests: %ld KiB, at the end: %ld KiB (change %+ld KiB)\n",
                warm_up, start_kib, end_kib, end_kib - start_kib);
    return 0;
}
