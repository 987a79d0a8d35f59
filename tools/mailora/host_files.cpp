#include "host_files.h"

#include <windows.h>

#include "win/handles_win32.h"

namespace mailora {

bool SetCommonOption(bool on) {
  HKEY raw = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kHostKey) + "\\Options").c_str(), 0,
                        nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const zv::win::UniqueKey key(raw);
  const DWORD value = on ? 1 : 0;
  return ::RegSetValueExA(key.get(), "Common", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
}

void DeleteHostOptions() {
  ::RegDeleteTreeA(HKEY_CURRENT_USER, kHostKey);
}

std::string ReadFileBytes(const std::string& path) {
  const zv::win::UniqueFile f(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
  if (!f) return "<missing>";
  std::string bytes(::GetFileSize(f.get(), nullptr), '\0');
  DWORD got = 0;
  ::ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  return bytes.substr(0, got);
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  const zv::win::UniqueFile f(
      ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!f) return false;
  DWORD written = 0;
  return ::WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

}  // namespace mailora
