// The `<stem>_saori_*` exports are thin adapters over load, unload and
// request, which already own the block rules (the module frees the host's
// block, hands back a new one and lets nothing thrown cross). What they add is
// the instance ids. The library is linked with -Bsymbolic-functions so that
// these calls reach this module's own load, unload and request even when the
// host or another module it loaded exports the same names.
#include "host/instance_exports.h"

#include <limits>
#include <set>

#include "host/exports.h"
#include "platform/lock.h"
#include "platform/platform.h"

namespace {

// Ids handed out and not yet unloaded, and the next one to hand out; hosts
// load and unload instances from several threads.
std::set<long> live_ids;
long next_id = 1;
platform::Lock ids_lock;

// A new live id, or 0 when no id is left.
long add_instance() {
    const platform::LockGuard guard(ids_lock);
    if (next_id == std::numeric_limits<long>::max()) return 0;
    live_ids.insert(next_id);
    return next_id++;
}

bool remove_instance(long id) {
    const platform::LockGuard guard(ids_lock);
    return live_ids.erase(id) == 1;
}

}  // namespace

TAVO_EXPORT long TAVO_CALL tavo_saori_load(char* path, long len) {
    long id = 0;
    try {
        id = add_instance();
    } catch (...) {
        id = 0;  // no memory for the bookkeeping
    }
    if (id == 0) {
        platform::take_block(path, 0);  // the block is the module's to free either way
        return 0;
    }
    if (load(path, len) == TRUE) return id;
    remove_instance(id);
    return 0;
}

TAVO_EXPORT int TAVO_CALL tavo_saori_unload(long id) {
    if (!remove_instance(id)) return 0;
    return unload() == TRUE ? 1 : 0;
}

TAVO_EXPORT char* TAVO_CALL tavo_saori_request(long, char* request_text, long* len) {
    return static_cast<char*>(request(request_text, len));
}
