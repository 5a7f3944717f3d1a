// Any bytes as a whole request through the request export.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "host/exports.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    void* block = std::malloc(size + 1);
    if (size != 0) std::memcpy(block, data, size);
    long length = static_cast<long>(size);
    void* response = request(block, &length);
    // Every request gets a whole answer: a status line through the closing empty line.
    const std::string_view answer(static_cast<const char*>(response), static_cast<std::size_t>(length));
    if (response == nullptr || answer.substr(0, 10) != "SAORI/1.0 " ||
        answer.substr(answer.size() - 4) != "\r\n\r\n") {
        std::abort();
    }
    std::free(response);
    return 0;
}
