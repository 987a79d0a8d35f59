// The nine entry points the host calls. Each is noexcept: nothing may unwind into the host.
#include <windows.h>

#include <cstdint>

#include "plugin/constants.h"

namespace {

// Runs `body`; an exception that escapes it yields `fallback` instead of reaching the host.
template <typename R, typename F>
R Guarded(R fallback, F&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return fallback;
  }
}

template <typename F>
void Guarded(F&& body) noexcept {
  try {
    body();
  } catch (...) {
  }
}

constexpr int32_t kTrue32 = -1;
constexpr int32_t kFalse32 = 0;

}  // namespace

extern "C" {

const char* __stdcall APCGetPlugName() noexcept { return zv::kPlugName; }

void __stdcall APCVersionInfo(HWND /*host*/) noexcept {
  Guarded([] {});
}

int32_t __stdcall APCStartUp(const char* /*version*/) noexcept {
  return Guarded(kFalse32, [] { return kFalse32; });
}

void __stdcall APCCleanUp() noexcept {
  Guarded([] {});
}

int32_t __stdcall APCSetup(int32_t /*unused*/) noexcept { return 2; }

void __stdcall APCFolderCreate(int32_t /*unused*/) noexcept {}

void __stdcall APCViewClose(int32_t /*unused*/) noexcept {}

void __stdcall APCViewLoadMail(int32_t /*unused*/, const char* /*header*/,
                               const char* /*body*/) noexcept {}

int32_t __stdcall APCSendPost(HWND /*window*/, int32_t /*unused*/) noexcept { return kTrue32; }

}  // extern "C"
