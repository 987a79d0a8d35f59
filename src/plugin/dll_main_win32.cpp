// What the module takes from the host's process and gives back. A host may load and unload the
// plug-in many times in one process, so an unload must leave nothing of it behind.
#include <windows.h>

#include "plugin/lifecycle_win32.h"

namespace __gnu_cxx {
// The C++ runtime's release of its emergency exception pool (about 73 KB on x86_64, a quarter
// of that on the 32-bit build), which it takes at load and otherwise keeps until the process ends.
void __freeres();
}  // namespace __gnu_cxx

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  // A null `reserved` is FreeLibrary. At process exit nothing is given back: other threads may
  // have stopped while holding the runtime's locks, and the process ends anyway. The static
  // destructors that run after this never throw, and the pool only serves exceptions that
  // malloc cannot hold.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    zv::win::FreeIdleStateAtUnload();
    __gnu_cxx::__freeres();
  }
  return TRUE;
}
