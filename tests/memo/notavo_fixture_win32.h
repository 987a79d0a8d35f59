// Test pieces around the substitute Notavo (tools/notavo): a scratch installation folder with a
// copy of the program, Notavo's registry key, and processes started and stopped by the test.
// Header-only, for the memo-pad tests and the end-to-end host alike.
#pragma once

#include <tlhelp32.h>
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "win/handles_win32.h"

namespace zv::test {

// Process and thread handles, which are null (not INVALID_HANDLE_VALUE) when missing.
struct ProcessTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
using UniqueProcess = win::UniqueHandle<HANDLE, ProcessTraits>;

inline constexpr char kNotavoKey[] = "Software\\Tessaly Lab\\Notavo";
inline constexpr char kMakerKey[] = "Software\\Tessaly Lab";

inline std::string ThisExeFolder() {
  char path[MAX_PATH * 2] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path - 1);
  const std::string s(path, n);
  return s.substr(0, s.find_last_of('\\') + 1);
}

// The built substitute Notavo: bin\Notavo.exe beside this program's folder.
inline std::string BuiltNotavo() {
  return ThisExeFolder() + "..\\bin\\Notavo.exe";
}

// Polls `done` every 20 ms for up to `ms` milliseconds.
template <typename F>
bool WaitFor(F&& done, DWORD ms = 10000) {
  const ULONGLONG end = ::GetTickCount64() + ms;
  for (;;) {
    if (done()) return true;
    if (::GetTickCount64() >= end) return false;
    ::Sleep(20);
  }
}

// Notavo's main window, borrowed; null when none exists.
inline HWND FindNotavo() {
  return ::FindWindowA("TNotavoMainWindow", "Notavo");
}

// Bytes from the log's hex form; "?" for a malformed line.
inline std::string FromHex(std::string_view hex) {
  if (hex.size() % 2 != 0) return "?";
  std::string bytes;
  bytes.reserve(hex.size() / 2);
  const auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int hi = digit(hex[i]), lo = digit(hex[i + 1]);
    if (hi < 0 || lo < 0) return "?";
    bytes.push_back(static_cast<char>(hi * 16 + lo));
  }
  return bytes;
}

// Where two texts first differ; npos when they are equal. Keeps long texts out of messages.
inline size_t FirstDifference(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    if (a[i] != b[i]) return i;
  }
  return a.size() == b.size() ? std::string_view::npos : n;
}

// A scratch folder under the temporary folder holding a copy of Notavo as `<exeName>.exe`.
// Every process running from the folder is ended, and the folder removed, on destruction.
class NotavoFolder {
 public:
  // `subfolder` may hold two-byte characters; "" leaves the executable out.
  NotavoFolder(std::string_view subfolder, std::string_view exeName) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof temp, temp);
    folder_ = std::string(temp) + std::string(subfolder) + "\\";
    ::CreateDirectoryA(folder_.c_str(), nullptr);
    if (!exeName.empty()) {
      exe_ = folder_ + std::string(exeName) + ".exe";
      copied_ = ::CopyFileA(BuiltNotavo().c_str(), exe_.c_str(), FALSE) != FALSE;
    }
  }
  ~NotavoFolder() {
    EndProcesses();
    if (!exe_.empty()) WaitFor([&] { return ::DeleteFileA(exe_.c_str()) || !Exists(exe_); });
    ::DeleteFileA(LogPath().c_str());
    ::RemoveDirectoryA(folder_.c_str());
  }
  NotavoFolder(const NotavoFolder&) = delete;
  NotavoFolder& operator=(const NotavoFolder&) = delete;

  bool copied() const { return copied_; }
  const std::string& folder() const { return folder_; }  // ends with a backslash
  const std::string& exe() const { return exe_; }
  std::string LogPath() const { return folder_ + "notavo.log"; }

  // The log's lines, without their line ends.
  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    const win::UniqueFile file(::CreateFileA(LogPath().c_str(), GENERIC_READ,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, 0, nullptr));
    if (!file) return lines;
    std::string text;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
      text.append(buffer, got);
    }
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
      lines.push_back(text.substr(start, end - start));
    }
    return lines;
  }
  // The texts Notavo was handed, in order.
  std::vector<std::string> Shown() const {
    std::vector<std::string> texts;
    for (const std::string& line : Log()) {
      if (line.rfind("show ", 0) == 0) texts.push_back(FromHex(std::string_view(line).substr(5)));
    }
    return texts;
  }
  size_t Starts() const {
    size_t n = 0;
    for (const std::string& line : Log()) n += line.rfind("start ", 0) == 0;
    return n;
  }

  // Ids of the processes whose executable is this folder's copy of Notavo.
  std::vector<DWORD> Running() const {
    std::vector<DWORD> ids;
    if (exe_.empty()) return ids;
    const win::UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return ids;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot.get(), &entry); more;
         more = ::Process32Next(snapshot.get(), &entry)) {
      const UniqueProcess process(
          ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
      if (!process) continue;
      char image[MAX_PATH * 2] = {};
      DWORD size = sizeof image;
      if (::QueryFullProcessImageNameA(process.get(), 0, image, &size) &&
          ::lstrcmpiA(image, exe_.c_str()) == 0) {
        ids.push_back(entry.th32ProcessID);
      }
    }
    return ids;
  }

  void EndProcesses() const {
    for (const DWORD id : Running()) {
      const UniqueProcess process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
      if (!process) continue;
      ::TerminateProcess(process.get(), 1);
      ::WaitForSingleObject(process.get(), 5000);
    }
  }

 private:
  static bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  std::string folder_;
  std::string exe_;
  bool copied_ = false;
};

// Notavo started by the test; terminated on destruction.
class NotavoProcess {
 public:
  NotavoProcess(const std::string& exe, const std::string& args = "") {
    std::string command = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (::CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &si, &pi)) {
      process_.reset(pi.hProcess);
      const UniqueProcess thread(pi.hThread);
    }
  }
  ~NotavoProcess() {
    if (!process_) return;
    ::TerminateProcess(process_.get(), 1);
    ::WaitForSingleObject(process_.get(), 5000);
  }
  NotavoProcess(const NotavoProcess&) = delete;
  NotavoProcess& operator=(const NotavoProcess&) = delete;

  bool started() const { return static_cast<bool>(process_); }
  // Waits until Notavo's main window exists.
  bool WaitForWindow() const {
    return process_ && WaitFor([] { return FindNotavo() != nullptr; });
  }

 private:
  UniqueProcess process_;
};

// Notavo's registry key with the given values; removed, with the maker's key when that is
// left empty, before and after.
class NotavoRegistry {
 public:
  NotavoRegistry() { Remove(); }
  ~NotavoRegistry() { Remove(); }
  NotavoRegistry(const NotavoRegistry&) = delete;
  NotavoRegistry& operator=(const NotavoRegistry&) = delete;

  bool SetText(const char* name, std::string_view text) {
    HKEY raw = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kNotavoKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          &raw, nullptr) != ERROR_SUCCESS) {
      return false;
    }
    const win::UniqueKey key(raw);
    const std::string data(text);  // with its terminating zero
    return ::RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
  }

 private:
  static void Remove() {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kNotavoKey);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kNotavoKey);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kMakerKey);  // refused while anything else is in it
  }
};

inline BOOL CALLBACK CountEditWindow(HWND window, LPARAM count) {
  char cls[32] = {};
  ::GetClassNameA(window, cls, sizeof cls);
  if (::lstrcmpiA(cls, "Edit") == 0) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// Top-level windows of this thread whose class is "Edit", such as a left-over hand-over window.
inline int ThreadEditWindows() {
  int count = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), CountEditWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

}  // namespace zv::test
