// Driving and measuring the plug-in's windows from a test: a second thread waits for a window,
// reads it and answers it while the test's own thread sits in the modal loop; screenshots are
// written as PNG files beside the test program.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "win/cp932_win32.h"
#include "ui/geometry.h"

namespace zv::test {

// Code page 932 bytes (as the sources' literals are) in UTF-16.
inline std::wstring W(std::string_view cp932) {
  return zv::win::Cp932ToWide(cp932);
}

// Waits up to `ms` for a visible top-level window of class `cls` (and title, when given).
inline HWND WaitForWindow(const wchar_t* cls, const wchar_t* title = nullptr, int ms = 10000) {
  for (int waited = 0; waited < ms; waited += 20) {
    HWND w = ::FindWindowW(cls, title);
    if (w && ::IsWindowVisible(w)) return w;
    ::Sleep(20);
  }
  return nullptr;
}

inline HWND FindDescendant(HWND parent, int id) {
  struct Search {
    int id;
    HWND found;
  } s{id, nullptr};
  ::EnumChildWindows(
      parent,
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        if (::GetDlgCtrlID(w) == s->id) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// A child's bounds in the client coordinates of `form`.
inline ui::Rect ClientBounds(HWND form, HWND child) {
  RECT rc{};
  ::GetWindowRect(child, &rc);
  ::MapWindowPoints(HWND_DESKTOP, form, reinterpret_cast<POINT*>(&rc), 2);
  return ui::Rect{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

inline ui::Size ClientSize(HWND w) {
  RECT rc{};
  ::GetClientRect(w, &rc);
  return ui::Size{rc.right, rc.bottom};
}

inline ui::Rect ScreenBounds(HWND w) {
  RECT rc{};
  ::GetWindowRect(w, &rc);
  return ui::Rect{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

inline std::wstring WindowText(HWND w) {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(w)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
  return text;
}

// Runs `drive` on a second thread while `modal` runs on this one; joins before returning.
template <typename Modal, typename Drive>
void WhileModal(Modal&& modal, Drive&& drive) {
  std::thread driver(std::forward<Drive>(drive));
  modal();
  driver.join();
}

inline void PressKey(HWND target, WPARAM key) {
  ::PostMessageW(target, WM_KEYDOWN, key, 1);
  ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

// Lets the window's thread paint before the screen is read.
inline void SettlePainting(HWND w) {
  ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  ::Sleep(300);
}

namespace png {

inline uint32_t Crc(const uint8_t* p, size_t n, uint32_t crc = 0) {
  static uint32_t table[256] = {};
  if (!table[1]) {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[i] = c;
    }
  }
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

inline void Be32(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
}

inline void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  Be32(out, static_cast<uint32_t>(data.size()));
  std::vector<uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  Be32(out, Crc(body.data(), body.size()));
}

// RGB rows (top first) as an uncompressed PNG.
inline std::vector<uint8_t> Encode(int width, int height, const std::vector<uint8_t>& rgb) {
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(height) * (width * 3 + 1));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), rgb.begin() + static_cast<ptrdiff_t>(y) * width * 3,
               rgb.begin() + static_cast<ptrdiff_t>(y + 1) * width * 3);
  }
  std::vector<uint8_t> z = {0x78, 0x01};
  uint32_t a = 1, b = 0;
  for (uint8_t c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  for (size_t pos = 0; pos < raw.size() || raw.empty(); pos += 65535) {
    const size_t n = std::min<size_t>(65535, raw.size() - pos);
    z.push_back(pos + n >= raw.size() ? 1 : 0);
    z.push_back(static_cast<uint8_t>(n));
    z.push_back(static_cast<uint8_t>(n >> 8));
    z.push_back(static_cast<uint8_t>(~n));
    z.push_back(static_cast<uint8_t>(~n >> 8));
    z.insert(z.end(), raw.begin() + static_cast<ptrdiff_t>(pos),
             raw.begin() + static_cast<ptrdiff_t>(pos + n));
    if (raw.empty()) break;
  }
  Be32(z, (b << 16) | a);
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  Be32(ihdr, static_cast<uint32_t>(width));
  Be32(ihdr, static_cast<uint32_t>(height));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
  Chunk(out, "IHDR", ihdr);
  Chunk(out, "IDAT", z);
  Chunk(out, "IEND", {});
  return out;
}

}  // namespace png

// The folder of this test program, ending with a backslash.
inline std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path, n);
  return s.substr(0, s.find_last_of(L"\\/") + 1);
}

// Saves what the screen shows of `window` as screenshots\<name>_cp<ANSI code page>.png beside
// the test program; returns the path, or "" when nothing could be read.
inline std::wstring SaveScreenshot(HWND window, const std::string& name) {
  const ui::Rect r = ScreenBounds(window);
  if (r.width <= 0 || r.height <= 0) return {};
  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = r.width;
  bi.bmiHeader.biHeight = -r.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(mem, dib);
  ::BitBlt(mem, 0, 0, r.width, r.height, screen, r.left, r.top, SRCCOPY);
  ::GdiFlush();
  std::vector<uint8_t> rgb(static_cast<size_t>(r.width) * r.height * 3);
  const auto* px = static_cast<const uint8_t*>(bits);
  for (size_t i = 0; i < static_cast<size_t>(r.width) * r.height; ++i) {
    rgb[i * 3] = px[i * 4 + 2];
    rgb[i * 3 + 1] = px[i * 4 + 1];
    rgb[i * 3 + 2] = px[i * 4];
  }
  ::SelectObject(mem, old);
  ::DeleteObject(dib);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);

  const std::wstring folder = ProgramFolder() + L"screenshots\\";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring path = folder + std::wstring(name.begin(), name.end()) + L"_cp" +
                            std::to_wstring(::GetACP()) + L".png";
  const auto data = png::Encode(r.width, r.height, rgb);
  HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  DWORD written = 0;
  ::WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  ::CloseHandle(f);
  return path;
}

}  // namespace zv::test
