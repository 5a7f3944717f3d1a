// The library entry point. The host object and the output streams are made
// by static initialisation and destroyed by the runtime when the library is
// detached; the entry point only gives back what the statically linked C++
// runtime keeps for itself, so that nothing of a load outlives FreeLibrary.
#include <windows.h>

namespace __gnu_cxx {
// Releases the memory the C++ runtime allocated for its own use.
void __freeres() noexcept;
}  // namespace __gnu_cxx

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    // A null `reserved` means FreeLibrary; at process exit the system takes
    // the memory back by itself, and nothing more is done.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) __gnu_cxx::__freeres();
    return TRUE;
}
