// Scoped device contexts and selections, the activation context of the module's manifest, and
// the module that holds the windows' code and resources.
#pragma once

#include <windows.h>

#include "win/handles_win32.h"

namespace zv::win {

// A device context of a window, released on scope exit.
class WindowDc {
 public:
  WindowDc(HWND window, DWORD flags) : window_(window), dc_(::GetDCEx(window, nullptr, flags)) {}
  explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;  // borrowed
  HDC dc_;
};

// Selects a GDI object into a DC for the scope.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ object)
      : dc_(dc), old_(object ? ::SelectObject(dc, object) : nullptr) {}
  ~SelectScope() {
    if (old_) ::SelectObject(dc_, old_);
  }
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The module whose code this is: the plug-in DLL, or a test program linking the shell.
HMODULE ThisModule();

// Activates the module's own manifest (resource id 2: common controls version 6) for the scope,
// so that windows created inside get the version 6 controls whatever the host's manifest says.
// Without that resource it does nothing.
class ActivationScope {
 public:
  ActivationScope();
  ~ActivationScope();
  ActivationScope(const ActivationScope&) = delete;
  ActivationScope& operator=(const ActivationScope&) = delete;
  bool active() const { return cookie_ != 0; }

 private:
  UniqueActCtx context_;
  ULONG_PTR cookie_ = 0;
};

}  // namespace zv::win
