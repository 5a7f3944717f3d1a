// The four functions the host calls. Each reads the host's block, forwards
// to the one host object, frees the block and, for request and
// getversionlist, hands back a new block that the host then owns. No
// exception leaves these functions.
#include <limits>
#include <ostream>
#include <string>
#include <string_view>

#include "common/sender.h"
#include "host/exports.h"
#include "platform/lock.h"
#include "platform/platform.h"
#include "tavo/tavo.h"

namespace {

// Built when the library is attached and destroyed when it is detached; it
// lives in the library's own storage, so no memory of it outlives an unload.
tavo host;
SakuraDLLHost* const host_object = &host;

// The debug viewer stream and its one-time window lookup are shared by every
// thread that calls load.
platform::Lock viewer_lock;

// Answer for a request whose handling failed inside the module.
constexpr std::string_view kInternalErrorResponse =
    "SAORI/1.0 500 Internal Server Error\r\nCharset: UTF-8\r\nResult: \r\n\r\n";

HGLOBAL hand_back(std::string_view response, long* len) {
    // The host reads the length as a long: a longer answer cannot be handed over.
    if (response.size() > static_cast<std::size_t>(std::numeric_limits<long>::max())) {
        response = kInternalErrorResponse;
    }
    HGLOBAL block = platform::make_block(response);
    *len = block == nullptr ? 0 : static_cast<long>(response.size());
    return block;
}

template <typename Operation>
HGLOBAL serve(HGLOBAL h, long* len, Operation operation) {
    if (len == nullptr) {
        // No way to report a length: release the block and answer nothing.
        platform::take_block(h, 0);
        return nullptr;
    }
    try {
        // The request is read where the host put it; its block is released
        // once the answer is built.
        const platform::HostBlock text(h, *len);
        if (!text.readable()) {
            *len = 0;
            return nullptr;
        }
        return hand_back(operation(text.bytes()), len);
    } catch (...) {
        return hand_back(kInternalErrorResponse, len);
    }
}

}  // namespace

TAVO_EXPORT BOOL TAVO_CALL load(HGLOBAL h, long len) {
    try {
        const std::optional<std::string> directory = platform::take_block(h, len);
        if (!directory) return FALSE;
        {
            const platform::LockGuard guard(viewer_lock);
            Sender::sender_stream << *directory << std::endl;
        }
        return host_object->load(*directory) ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}

TAVO_EXPORT BOOL TAVO_CALL unload() { return host_object->unload() ? TRUE : FALSE; }

TAVO_EXPORT HGLOBAL TAVO_CALL request(HGLOBAL h, long* len) {
    return serve(h, len, [](std::string_view text) { return host_object->request(text); });
}

TAVO_EXPORT HGLOBAL TAVO_CALL getversionlist(HGLOBAL h, long* len) {
    return serve(h, len, [](std::string_view text) { return host_object->getversionlist(text); });
}
