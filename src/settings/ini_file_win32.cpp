#include "settings/ini_file_win32.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "win/handles_win32.h"
#include "settings/registry_win32.h"
#include "settings/system_formats_win32.h"
#include "win/cp932_win32.h"
#include "win/file_win32.h"
#include "text/long_path.h"
#include "text/long_path_win32.h"

namespace zv::win {

namespace {

class Win32TempFile final : public TempFile {
 public:
  Win32TempFile(std::string path, HANDLE file) : path_(std::move(path)), file_(file) {}

  const std::string& path() const override { return path_; }

  bool Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 24));
      DWORD written = 0;
      if (!::WriteFile(file_.get(), bytes.data(), chunk, &written, nullptr) || written == 0) {
        return false;
      }
      bytes.remove_prefix(written);
    }
    return true;
  }

  bool Flush() override { return ::FlushFileBuffers(file_.get()) != 0; }

  bool Close() override {
    if (!file_) return true;
    return ::CloseHandle(file_.release()) != 0;
  }

 private:
  std::string path_;
  UniqueFile file_;
};

DWORD Attributes(const std::string& path) {
  return ::GetFileAttributesW(Cp932ToWide(path).c_str());
}

bool IsFolder(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

constexpr ULONGLONG kReplaceRetryMs = 1000;

// One try at moving `source` into the place of `target`. An existing target's attributes and
// creation time go onto `source` first, as ReplaceFileW keeps them; that call itself is not
// used, since some implementations leave a backup file behind when it fails.
bool ReplaceOnce(const std::wstring& source, const std::wstring& target) {
  WIN32_FILE_ATTRIBUTE_DATA old{};
  if (::GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &old) &&
      !(old.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    {
      UniqueFile file(::CreateFileW(source.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
      if (file) ::SetFileTime(file.get(), &old.ftCreationTime, nullptr, nullptr);
    }
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD kept = old.dwFileAttributes & kKept;
    ::SetFileAttributesW(source.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
  }
  return ::MoveFileExW(source.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace

bool Win32SettingsFiles::Exists(const std::string& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> Win32SettingsFiles::ReadAll(const std::string& path) {
  return ReadWholeFile(path);
}

bool Win32SettingsFiles::EnsureFolder(const std::string& folder) {
  std::string path = folder;
  while (path.size() > 1 && path.back() == '\\') path.pop_back();
  if (IsFolder(Attributes(path))) return true;
  if (::CreateDirectoryW(Cp932ToWide(path).c_str(), nullptr)) return true;
  return ::GetLastError() == ERROR_ALREADY_EXISTS && IsFolder(Attributes(path));
}

std::unique_ptr<TempFile> Win32SettingsFiles::CreateTemp(const std::string& folder) {
  // A name no other save uses: this process, a counter, and a fresh try when it exists anyway.
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[64];
    std::snprintf(name, sizeof name, "~Zorvek32.%lx.%x.tmp",
                  static_cast<unsigned long>(::GetCurrentProcessId()), ++counter);
    std::string path = folder + name;
    HANDLE file = ::CreateFileW(Cp932ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return std::make_unique<Win32TempFile>(std::move(path), file);
    if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  return nullptr;
}

bool Win32SettingsFiles::Replace(const std::string& source, const std::string& target) {
  // Windows refuses to replace a read-only file; not every implementation of the call does.
  const DWORD a = Attributes(target);
  if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY)) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  const std::wstring from = Cp932ToWide(source), to = Cp932ToWide(target);
  // A virus scanner or an indexer holds a file for a moment: such refusals are tried again for
  // about a second. Every try leaves either the old file or the new one under the name.
  const ULONGLONG start = ::GetTickCount64();
  for (;;) {
    if (ReplaceOnce(from, to)) return true;
    const DWORD error = ::GetLastError();
    const bool passing = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                         error == ERROR_ACCESS_DENIED;
    if (!passing || ::GetTickCount64() - start >= kReplaceRetryMs) {
      ::SetLastError(error);
      return false;
    }
    ::Sleep(50);
  }
}

void Win32SettingsFiles::Remove(const std::string& path) {
  ::DeleteFileW(Cp932ToWide(path).c_str());
}

SettingsFiles& SystemSettingsFiles() {
  static Win32SettingsFiles files;
  return files;
}

std::string HostFolder() {
  Win32DirectorySearch directories;
  return ExpandLongPath(FolderOf(ExecutablePath()), directories);
}

IniLoadResult LoadIniStore(const std::function<std::string()>& mailboxFolder) {
  Win32Registry registry;
  const SystemFormats& formats = SystemFormatsOfUser();
  const std::string folder =
      SettingsFolder(registry, FileNameOf(ExecutablePath()), formats, HostFolder, mailboxFolder);
  return zv::LoadIniStore(IniFilePathIn(folder), SystemSettingsFiles(), formats);
}

}  // namespace zv::win
