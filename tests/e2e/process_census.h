// What this process holds, counted by probing: under Wine the system's own counters
// (GetProcessHandleCount, GetGuiResources, GetProcessMemoryInfo) all report 0. Take one census
// after a warm-up, since the system and the runtime fill their caches on first use.
#pragma once

#include <windows.h>

#include <cstdint>
#include <ostream>

namespace zv::test {

struct Census {
  long kernelHandles = 0;
  long gdiObjects = 0;
  long windows = 0;  // of the calling thread, children included
  int64_t heapBytes = 0;
};

inline std::ostream& operator<<(std::ostream& os, const Census& c) {
  return os << c.kernelHandles << " kernel handles, " << c.gdiObjects << " GDI objects, "
            << c.windows << " windows, " << c.heapBytes << " heap bytes";
}

// Kernel handle values are multiples of 4; a process of this size stays far below the bound.
inline long CountKernelHandles() {
  long n = 0;
  DWORD flags = 0;
  for (uintptr_t h = 4; h <= 0x20000; h += 4) {
    if (::GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags)) ++n;
  }
  return n;
}

// A GDI handle's low word is its slot in the process's table; a probe with no high word
// matches whatever lives in that slot.
inline long CountGdiObjects() {
  long n = 0;
  for (uintptr_t h = 1; h <= 0xFFFF; ++h) {
    if (::GetObjectType(reinterpret_cast<HGDIOBJ>(h)) != 0) ++n;
  }
  return n;
}

inline BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<long*>(count);
  return TRUE;
}

inline BOOL CALLBACK CountWindowTree(HWND w, LPARAM count) {
  ++*reinterpret_cast<long*>(count);
  ::EnumChildWindows(w, &CountWindow, count);
  return TRUE;
}

inline long CountThreadWindows() {
  long n = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), &CountWindowTree, reinterpret_cast<LPARAM>(&n));
  return n;
}

// The bytes of every busy block of every heap of the process.
inline int64_t CountHeapBytes() {
  HANDLE heaps[256];
  DWORD count = ::GetProcessHeaps(256, heaps);
  if (count > 256) count = 256;
  int64_t bytes = 0;
  for (DWORD i = 0; i < count; ++i) {
    if (!::HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY e{};
    while (::HeapWalk(heaps[i], &e)) {
      if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += e.cbData;
    }
    ::HeapUnlock(heaps[i]);
  }
  return bytes;
}

inline Census TakeCensus() {
  return Census{CountKernelHandles(), CountGdiObjects(), CountThreadWindows(), CountHeapBytes()};
}

}  // namespace zv::test
