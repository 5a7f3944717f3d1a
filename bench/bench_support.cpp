#include "bench_support.h"

#include "cli/module_client.h"

extern "C" HGLOBAL request(HGLOBAL h, long* len);

std::string round_trip(const std::string& request_text) {
    return send_request(request, request_text).value_or(std::string());
}

std::string execute(const std::vector<std::string>& arguments) {
    return round_trip(execute_request(arguments));
}
