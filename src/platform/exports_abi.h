// The types of the four exported functions, as the host sees them: the
// Windows types on Windows, plain equivalents elsewhere.
#pragma once

#ifdef _WIN32
#include <windows.h>
#define TAVO_EXPORT extern "C" __declspec(dllexport)
#else
typedef void* HGLOBAL;  // a block from malloc, released with free
typedef int BOOL;
#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif
#define TAVO_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#ifdef _WIN32
#define TAVO_CALL __cdecl
#else
#define TAVO_CALL
#endif
