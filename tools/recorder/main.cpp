// A program the tests register for a file type, standing in for the viewer the shell would
// start: it records what it was asked to open and ends.
//
//   Recorder.exe --log FILE ARG...
//
// Appends one line "open <ARG>" per argument to FILE, in code page 932.
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <string>

#include "win/handles_win32.h"
#include "win/cp932_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (!argv) return 2;
  if (argc < 3 || std::wstring(argv[1]) != L"--log") {
    ::LocalFree(argv);
    return 2;
  }
  std::string lines;
  for (int i = 3; i < argc; ++i) lines += "open " + zv::win::WideToCp932(argv[i]) + "\r\n";
  const zv::win::UniqueFile file(::CreateFileW(argv[2], FILE_APPEND_DATA,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  ::LocalFree(argv);
  if (!file) return 1;
  DWORD written = 0;
  ::WriteFile(file.get(), lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
  return 0;
}
