// Any bytes as a whole request through the request export.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/exports_abi.h"

extern "C" HGLOBAL request(HGLOBAL h, long* len);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    void* block = std::malloc(size + 1);
    if (size != 0) std::memcpy(block, data, size);
    long length = static_cast<long>(size);
    void* response = request(block, &length);
    if (response == nullptr || length < 45) std::abort();  // every request gets a full answer
    std::free(response);
    return 0;
}
