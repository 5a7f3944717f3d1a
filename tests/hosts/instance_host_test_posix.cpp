// A POSIX host: opens the module file by path, finds `<stem>_saori_load`,
// `_unload` and `_request` by the file's stem and runs two instances the way
// such hosts do: malloc blocks in, free for the answers, extra headers and a
// glued header line in the requests.
//
//   instance-host-test MODULE
//
// The program itself exports functions named load, unload and request (it is
// linked with -rdynamic): the module must reach its own, never these.
#include <dlfcn.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "host_check.h"

namespace {

std::atomic<int> decoy_calls{0};

}  // namespace

extern "C" int load(void*, long) {
    ++decoy_calls;
    return 0;
}

extern "C" int unload() {
    ++decoy_calls;
    return 0;
}

extern "C" void* request(void*, long*) {
    ++decoy_calls;
    return nullptr;
}

namespace {

struct Instances {
    long (*load)(char* path, long len) = nullptr;
    int (*unload)(long id) = nullptr;
    char* (*request)(long id, char* request, long* len) = nullptr;
};

constexpr int kThreads = 4;
constexpr int kLoadsPerThread = 250;

const std::string kVersionResponse = "SAORI/1.0 200 OK\r\nCharset: UTF-8\r\n\r\n";

struct Exchange {
    const char* what;
    std::string request;
    std::string response;
};

const Exchange kExchanges[] = {
    {"GET Version with the extra headers",
     "GET Version SAORI/1.0\r\nSender: test-host\r\nSecurityLevel: Local\r\nCharset: UTF-8\r\n\r\n",
     kVersionResponse},
    {"GET Version with a glued header line",
     "GET Version SAORI/1.0\r\nSender: test-host\r\nCharset: UTF-8SecurityLevel: Local\r\n\r\n",
     kVersionResponse},
    {"EXECUTE with the extra headers",
     "EXECUTE SAORI/1.0\r\nSender: test-host\r\nSecurityLevel: Local\r\nCharset: UTF-8\r\n"
     "Argument0: length\r\nArgument1: あいう\r\n\r\n",
     "SAORI/1.0 200 OK\r\nCharset: UTF-8\r\nResult: 3\r\n\r\n"},
    {"EXECUTE with a glued header line",
     "EXECUTE SAORI/1.0\r\nCharset: UTF-8SecurityLevel: Local\r\nSender: test-host\r\n"
     "Argument0: split\r\nArgument1: りんご、みかん\r\nArgument2: 、\r\n\r\n",
     "SAORI/1.0 200 OK\r\nCharset: UTF-8\r\nResult: 2\r\nValue0: りんご\r\nValue1: みかん\r\n\r\n"},
};

// The file name without its directory and its extension.
std::string stem_of(const std::string& path) {
    const std::string name = path.substr(path.rfind('/') + 1);
    return name.substr(0, name.rfind('.'));
}

// A block as the host hands it over: from malloc, with no terminating zero.
char* host_block(std::string_view text) {
    char* block = static_cast<char*>(std::malloc(text.size()));
    if (!text.empty()) std::memcpy(block, text.data(), text.size());
    return block;
}

std::string ask(const Instances& module, long id, std::string_view request_text, long length) {
    char* answer = module.request(id, host_block(request_text), &length);
    if (answer == nullptr) return "(no answer)";
    std::string text(answer, static_cast<std::size_t>(length));
    std::free(answer);
    return text;
}

std::string ask(const Instances& module, long id, std::string_view request_text) {
    return ask(module, id, request_text, static_cast<long>(request_text.size()));
}

// Loads and unloads from several threads at once: every id is new and every
// unload of it succeeds.
void check_threads(const Instances& module, CheckCount& check) {
    std::vector<std::vector<long>> ids(kThreads);
    std::vector<int> unloaded(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&module, &ids, &unloaded, t] {
            for (int n = 0; n < kLoadsPerThread; ++n) {
                const long id = module.load(host_block("/tmp/"), 5);
                ids[t].push_back(id);
                unloaded[t] += module.unload(id);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    std::set<long> distinct;
    int unloads = 0;
    for (int t = 0; t < kThreads; ++t) {
        distinct.insert(ids[t].begin(), ids[t].end());
        unloads += unloaded[t];
    }
    check.expect(distinct.size() == kThreads * kLoadsPerThread && distinct.count(0) == 0,
                 "loads from several threads each get a new id");
    check.expect(unloads == kThreads * kLoadsPerThread, "each of those ids unloads once");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: instance-host-test MODULE\n", stderr);
        return 2;
    }
    const std::string path = argv[1];
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        std::fprintf(stderr, "cannot open %s: %s\n", path.c_str(), dlerror());
        return 2;
    }
    const std::string stem = stem_of(path);
    Instances module;
    module.load = reinterpret_cast<decltype(module.load)>(dlsym(library, (stem + "_saori_load").c_str()));
    module.unload = reinterpret_cast<decltype(module.unload)>(dlsym(library, (stem + "_saori_unload").c_str()));
    module.request = reinterpret_cast<decltype(module.request)>(dlsym(library, (stem + "_saori_request").c_str()));
    if (module.load == nullptr || module.unload == nullptr || module.request == nullptr) {
        std::fprintf(stderr, "%s lacks the %s_saori_* functions\n", path.c_str(), stem.c_str());
        return 2;
    }

    CheckCount check;
    // Hosts that cut the directory at the last backslash pass none at all.
    const long first = module.load(static_cast<char*>(std::malloc(0)), 0);
    const std::string directory = path.substr(0, path.rfind('/') + 1);
    const long second = module.load(host_block(directory), static_cast<long>(directory.size()));
    check.expect(first > 0, "an empty directory loads");
    check.expect(second > 0 && second != first, "a second instance gets an id of its own");

    for (const Exchange& exchange : kExchanges) {
        for (const long id : {first, second}) {
            const std::string answer = ask(module, id, exchange.request);
            check.expect(answer == exchange.response,
                         std::string(exchange.what) + " (instance " + std::to_string(id) + "): " + answer);
        }
    }
    check.expect(ask(module, first, "GET Version SAORI/1.0\r\n\r\n", -7).size() == 45,
                 "a negative length reads as the empty request: 400 in 45 bytes");
    check.expect(module.request(first, host_block(kExchanges[0].request), nullptr) == nullptr,
                 "no length to report: no answer, the block still freed");

    check.expect(module.unload(first) == 1, "the first instance unloads");
    check.expect(ask(module, first, kExchanges[0].request) == kVersionResponse,
                 "an unloaded id is still answered");
    check.expect(module.unload(second) == 1, "the second instance unloads");
    check.expect(module.unload(first) == 0, "an id unloads only once");
    check.expect(module.unload(0) == 0 && module.unload(second + 1000) == 0,
                 "ids never handed out do not unload");
    const long third = module.load(nullptr, -3);
    check.expect(third > 0 && module.unload(third) == 1, "a null directory with a negative length loads");

    check_threads(module, check);
    check.expect(decoy_calls == 0, "the module calls its own load, unload and request");
    return check.finish();
}
