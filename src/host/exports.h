// The four functions a host calls, with C linkage and the C calling convention.
#pragma once

#include "platform/exports_abi.h"

TAVO_EXPORT BOOL TAVO_CALL load(HGLOBAL h, long len);
TAVO_EXPORT BOOL TAVO_CALL unload();
TAVO_EXPORT HGLOBAL TAVO_CALL request(HGLOBAL h, long* len);
TAVO_EXPORT HGLOBAL TAVO_CALL getversionlist(HGLOBAL h, long* len);
