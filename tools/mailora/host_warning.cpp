#include "host_warning.h"

#include <fstream>
#include <vector>

namespace mailora {

namespace {

// Owners of the GDI objects a picture needs.
struct ScreenDc {
  HDC dc = ::GetDC(nullptr);
  ~ScreenDc() {
    if (dc) ::ReleaseDC(nullptr, dc);
  }
};
struct MemoryDc {
  explicit MemoryDc(HDC like) : dc(::CreateCompatibleDC(like)) {}
  ~MemoryDc() {
    if (dc) ::DeleteDC(dc);
  }
  HDC dc;
};
struct Bitmap {
  Bitmap(HDC like, int w, int h) : bitmap(::CreateCompatibleBitmap(like, w, h)) {}
  ~Bitmap() {
    if (bitmap) ::DeleteObject(bitmap);
  }
  HBITMAP bitmap;
};

}  // namespace

WarningAnswerer::WarningAnswerer(int button, std::string bitmapPath)
    : thread_([this, button, path = std::move(bitmapPath)] { Watch(button, path); }) {}

const WarningSeen& WarningAnswerer::Finish() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  return seen_;
}

void WarningAnswerer::Watch(int button, const std::string& bitmapPath) {
  HWND box = nullptr;
  for (int i = 0; i < 1500 && !box && !stop_; ++i) {
    box = ::FindWindowA("#32770", kWarningTitle);
    if (!box) ::Sleep(20);
  }
  if (box) AnswerWarning(box, button, bitmapPath, seen_);
}

void AnswerWarning(HWND box, int button, const std::string& bitmapPath, WarningSeen& seen) {
  seen.shown = true;
  char text[8192] = {};
  ::GetWindowTextA(::GetDlgItem(box, 0xFFFF), text, sizeof text);
  seen.text = text;
  seen.owned = ::GetWindow(box, GW_OWNER) != nullptr;
  seen.yesNoOnly = ::GetDlgItem(box, IDYES) && ::GetDlgItem(box, IDNO) &&
                   !::GetDlgItem(box, IDOK) && !::GetDlgItem(box, IDCANCEL);
  if (!bitmapPath.empty()) {
    ::Sleep(500);  // let the box finish painting
    seen.captured = SaveWindowPicture(box, bitmapPath);
  }
  ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(box, button)));
}

void PlaceEditor(const CompositionWindow& w, int gap) {
  const HWND pane = ::GetParent(w.body());
  RECT window{};
  RECT client{};
  ::GetWindowRect(w.hwnd(), &window);
  ::GetClientRect(w.hwnd(), &client);
  POINT origin{0, 0};
  ::ClientToScreen(pane, &origin);
  const int height = window.bottom - gap - origin.y;
  ::MoveWindow(pane, 0, 0, client.right, height, FALSE);
  ::MoveWindow(w.body(), 0, 0, client.right, height, FALSE);
}

bool SaveWindowPicture(HWND w, const std::string& path) {
  RECT r{};
  if (!::GetWindowRect(w, &r)) return false;
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return false;
  ScreenDc screen;
  MemoryDc memory(screen.dc);
  Bitmap bitmap(screen.dc, width, height);
  if (!screen.dc || !memory.dc || !bitmap.bitmap) return false;
  const HGDIOBJ previous = ::SelectObject(memory.dc, bitmap.bitmap);
  const bool copied =
      ::BitBlt(memory.dc, 0, 0, width, height, screen.dc, r.left, r.top, SRCCOPY) != FALSE;
  ::SelectObject(memory.dc, previous);
  if (!copied) return false;

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // rows bottom-up, as a BMP file keeps them
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  std::vector<char> pixels(stride * static_cast<size_t>(height));
  if (::GetDIBits(memory.dc, bitmap.bitmap, 0, static_cast<UINT>(height), pixels.data(),
                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != height) {
    return false;
  }
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  return static_cast<bool>(out);
}

}  // namespace mailora
