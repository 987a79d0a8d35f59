// The nine entry points the host calls, in their export order. Each is noexcept and hands over
// to a function that catches every failure, so nothing unwinds into the host.
#include <windows.h>

#include <cstdint>

#include "text/constants.h"
#include "plugin/entry_points_win32.h"

extern "C" {

const char* __stdcall APCGetPlugName() noexcept {
  return zv::kPlugName;
}

void __stdcall APCVersionInfo(HWND host) noexcept {
  zv::win::VersionInfo(host);
}

int32_t __stdcall APCStartUp(const char* version) noexcept {
  return zv::win::StartUp(version) ? zv::win::kHostTrue : zv::win::kHostFalse;
}

void __stdcall APCCleanUp() noexcept {
  zv::win::CleanUp();
}

int32_t __stdcall APCSetup(int32_t /*unused*/) noexcept {
  return zv::win::Setup();
}

void __stdcall APCFolderCreate(int32_t /*unused*/) noexcept {
  zv::win::FolderCreate();
}

void __stdcall APCViewClose(int32_t /*unused*/) noexcept {
  zv::win::ViewClose();
}

void __stdcall APCViewLoadMail(int32_t /*unused*/, const char* header, const char* body) noexcept {
  zv::win::ViewLoadMail(header, body);
}

int32_t __stdcall APCSendPost(HWND window, int32_t /*unused*/) noexcept {
  return zv::win::SendPost(window);
}

}  // extern "C"
