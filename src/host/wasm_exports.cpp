// The functions JavaScript calls in the WebAssembly build. JavaScript writes a
// request into a buffer it asks for, runs it through the `request` export (so
// it is read, answered and released exactly as a host's block is), reads the
// response's length and bytes out of the instance's memory and releases the
// response. The instance runs one request at a time, so the length of the last
// response is kept in one place for JavaScript to read.
#include <cstdlib>

#include "host/exports.h"

#define TAVO_WASM_EXPORT(name) extern "C" __attribute__((export_name(name)))

namespace {

long last_response_length = 0;

}  // namespace

// A buffer for a request text of `size` bytes, which tavo_request releases;
// null when the size is negative or the instance cannot grow its memory that far.
TAVO_WASM_EXPORT("tavo_request_buffer") char* tavo_request_buffer(long size) {
    if (size < 0) return nullptr;
    return static_cast<char*>(std::malloc(static_cast<std::size_t>(size) + 1));
}

// Runs the request of `length` bytes in `buffer` and releases the buffer; answers
// the response block (null when there is none), whose length tavo_response_length
// then tells.
TAVO_WASM_EXPORT("tavo_request") char* tavo_request(char* buffer, long length) {
    last_response_length = length;
    char* response = static_cast<char*>(request(buffer, &last_response_length));
    if (response == nullptr) last_response_length = 0;
    return response;
}

// The length in bytes of the response tavo_request answered last.
TAVO_WASM_EXPORT("tavo_response_length") long tavo_response_length() { return last_response_length; }

// Releases a response block that tavo_request answered.
TAVO_WASM_EXPORT("tavo_release") void tavo_release(char* response) { std::free(response); }
