// The library entry point. The host object and the output streams are made
// by static initialisation; the entry point itself has nothing to do.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
