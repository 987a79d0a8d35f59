// What the module takes from the host's process and gives back. A host may load and unload the
// plug-in many times in one process, so an unload must leave nothing of it behind.
#include <pthread.h>
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

// Every pthread_once of the module's runtime (linked with --wrap=pthread_once): the guards of
// function-local statics, the 32-bit unwinder's registration of the module's frames at load,
// the key of the exception globals. The threads library's own pthread_once pushes a cancellation
// clean-up, which makes it create a record of the calling thread (an event, a duplicate of the
// thread's handle, a TLS slot) that it frees only at the thread's end, long after the module is
// gone. This module starts and cancels no thread, so the clean-up is never needed. (A thrown
// exception's per-thread globals still make the record; none is thrown but on failures.) The
// states are the library's: 0 not run, 1 done; 2 while running.
extern "C" int __wrap_pthread_once(pthread_once_t* once, void (*init)(void)) {
  volatile long* state = once;
  if (::InterlockedCompareExchange(state, 1, 1) == 1) return 0;
  if (::InterlockedCompareExchange(state, 2, 0) == 0) {
    init();
    ::InterlockedExchange(state, 1);
    return 0;
  }
  while (::InterlockedCompareExchange(state, 1, 1) != 1) ::SwitchToThread();
  return 0;
}
