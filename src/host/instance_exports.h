// The three functions POSIX hosts look up by the module file's stem: for
// tavo.so, tavo_saori_load, tavo_saori_unload and tavo_saori_request. Native
// builds only.
#pragma once

#include "platform/exports_abi.h"

// Takes a malloc block holding the module's directory (len bytes, possibly
// none and a null block) and frees it; returns a new instance id above 0, or
// 0 when the module cannot load.
TAVO_EXPORT long TAVO_CALL tavo_saori_load(char* path, long len);

// 1 for a live instance id, which is then gone; 0 for any other id.
TAVO_EXPORT int TAVO_CALL tavo_saori_unload(long id);

// Takes a malloc block holding the request (*len bytes) and frees it; returns
// a new malloc block holding the response, its length in *len. Every id is
// answered alike: the instances share the one host object.
TAVO_EXPORT char* TAVO_CALL tavo_saori_request(long id, char* request, long* len);
