// Owned Win32 handles. Each owner closes its handle exactly once; a raw handle passed around
// without an owner is borrowed and never closed by the receiver.
#pragma once

#include <windows.h>

#include <utility>

namespace zv::win {

template <typename H, typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Traits::Invalid()));
    return *this;
  }
  ~UniqueHandle() { reset(); }

  H get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::Invalid(); }
  H release() { return std::exchange(h_, Traits::Invalid()); }
  void reset(H h = Traits::Invalid()) {
    if (h_ != Traits::Invalid()) Traits::Close(h_);
    h_ = h;
  }

 private:
  H h_ = Traits::Invalid();
};

struct FindTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::FindClose(h); }
};
struct FileTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct KeyTraits {
  static HKEY Invalid() { return nullptr; }
  static void Close(HKEY h) { ::RegCloseKey(h); }
};
struct ModuleTraits {
  static HMODULE Invalid() { return nullptr; }
  static void Close(HMODULE h) { ::FreeLibrary(h); }
};
struct WindowTraits {
  static HWND Invalid() { return nullptr; }
  static void Close(HWND h) { ::DestroyWindow(h); }
};
struct FontTraits {
  static HFONT Invalid() { return nullptr; }
  static void Close(HFONT h) { ::DeleteObject(h); }
};
struct IconTraits {
  static HICON Invalid() { return nullptr; }
  static void Close(HICON h) { ::DestroyIcon(h); }
};
struct BrushTraits {
  static HBRUSH Invalid() { return nullptr; }
  static void Close(HBRUSH h) { ::DeleteObject(h); }
};
struct BitmapTraits {
  static HBITMAP Invalid() { return nullptr; }
  static void Close(HBITMAP h) { ::DeleteObject(h); }
};
struct ActCtxTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::ReleaseActCtx(h); }
};

using UniqueFind = UniqueHandle<HANDLE, FindTraits>;
using UniqueFile = UniqueHandle<HANDLE, FileTraits>;
using UniqueKey = UniqueHandle<HKEY, KeyTraits>;
using UniqueModule = UniqueHandle<HMODULE, ModuleTraits>;
using UniqueWindow = UniqueHandle<HWND, WindowTraits>;
using UniqueFont = UniqueHandle<HFONT, FontTraits>;
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
using UniqueBrush = UniqueHandle<HBRUSH, BrushTraits>;
using UniqueBitmap = UniqueHandle<HBITMAP, BitmapTraits>;
using UniqueActCtx = UniqueHandle<HANDLE, ActCtxTraits>;

}  // namespace zv::win
