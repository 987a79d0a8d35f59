// The substitute Notavo: a memo pad whose main window takes the texts the plug-in hands over
// and records them for the tests.
//
//   Notavo.exe [--log FILE] [--hang]
//
// Every start appends "start <process id>" to the log, every hand-over "show <text in hex>"
// (the text's code page 932 bytes, two upper-case hex digits each). The log is FILE, or
// "notavo.log" beside the executable, which is where a start through the shell leaves it.
// With --hang the program stops responding at the first hand-over, without reading it.
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "win/handles_win32.h"

namespace {

constexpr char kClassName[] = "TNotavoMainWindow";
constexpr char kTitle[] = "Notavo";
constexpr UINT kShowMessage = 32749;
constexpr WPARAM kShowParam = 1;

std::string g_logPath;
bool g_hang = false;
HWND g_display = nullptr;  // borrowed: a child of the main window, destroyed with it

void AppendLog(const std::string& line) {
  const zv::win::UniqueFile file(::CreateFileA(g_logPath.c_str(), FILE_APPEND_DATA,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(2 * bytes.size());
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    hex.push_back(kDigits[b >> 4]);
    hex.push_back(kDigits[b & 0xF]);
  }
  return hex;
}

// The text of another program's window, as bytes of the ANSI code page. GetWindowText would
// only give another process's window caption, not an edit control's text, so ask the window.
std::string ForeignWindowText(HWND window) {
  const LRESULT length = ::SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT got =
      ::SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      g_display = ::CreateWindowExA(
          0, "EDIT", "",
          WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 0,
          0, window, nullptr, nullptr, nullptr);
      return 0;
    case WM_SIZE:
      ::MoveWindow(g_display, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case kShowMessage:
      if (wParam != kShowParam) return 0;
      if (g_hang) {
        for (;;) ::Sleep(INFINITE);
      }
      {
        // The sender destroys this window as soon as the message returns.
        const std::string text = ForeignWindowText(reinterpret_cast<HWND>(lParam));
        AppendLog("show " + Hex(text));
        ::SetWindowTextA(g_display, text.c_str());
      }
      return 1;
    case WM_CLOSE:
      // The window's owner below destroys it once the loop has ended.
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

std::string DefaultLogPath() {
  char path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, n);
  folder.resize(folder.find_last_of('\\') + 1);
  return folder + "notavo.log";
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  g_logPath = DefaultLogPath();
  for (int i = 1; i < __argc; ++i) {
    const std::string_view arg = __argv[i];
    if (arg == "--hang") {
      g_hang = true;
    } else if (arg == "--log" && i + 1 < __argc) {
      g_logPath = __argv[++i];
    } else {
      std::fprintf(stderr, "usage: Notavo.exe [--log FILE] [--hang]\n");
      return 2;
    }
  }
  AppendLog("start " + std::to_string(::GetCurrentProcessId()));

  WNDCLASSA wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClassName;
  if (!::RegisterClassA(&wc)) return 1;
  const zv::win::UniqueWindow main(::CreateWindowExA(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW,
                                                     CW_USEDEFAULT, CW_USEDEFAULT, 480, 360,
                                                     nullptr, nullptr, instance, nullptr));
  if (!main) return 1;
  ::ShowWindow(main.get(), show);

  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return 0;
}
