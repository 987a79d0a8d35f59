#include "text/long_path_win32.h"

#include "win/handles_win32.h"
#include "win/cp932_win32.h"

namespace zv::win {

void Win32DirectorySearch::ForEach(const std::string& pattern,
                                   const std::function<bool(const DirEntry&)>& visit) {
  WIN32_FIND_DATAW data{};
  UniqueFind find(::FindFirstFileW(Cp932ToWide(pattern).c_str(), &data));
  if (!find) return;
  do {
    if (visit(DirEntry{WideToCp932(data.cFileName), data.dwFileAttributes})) return;
  } while (::FindNextFileW(find.get(), &data));
}

}  // namespace zv::win
