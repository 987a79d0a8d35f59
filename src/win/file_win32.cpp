#include "win/file_win32.h"

#include <windows.h>

#include <algorithm>

#include "win/cp932_win32.h"
#include "win/handles_win32.h"

namespace zv::win {

std::optional<std::string> ReadWholeFile(const std::string& path) {
  UniqueFile file(::CreateFileW(Cp932ToWide(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > std::string().max_size()) {
    return std::nullopt;
  }
  std::string text(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < text.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1u << 24));
    DWORD got = 0;
    if (!::ReadFile(file.get(), text.data() + done, chunk, &got, nullptr)) return std::nullopt;
    if (got == 0) break;  // the file shrank meanwhile
    done += got;
  }
  text.resize(done);
  return text;
}

}  // namespace zv::win
