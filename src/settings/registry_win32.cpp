#include "settings/registry_win32.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "win/handles_win32.h"
#include "settings/system_formats_win32.h"
#include "win/cp932_win32.h"
#include "text/sjis.h"

namespace zv::win {

namespace {

HKEY RootKey(RegRoot root) {
  switch (root) {
    case RegRoot::kClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegRoot::kCurrentUser:
      return HKEY_CURRENT_USER;
    case RegRoot::kLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegRoot::kUsers:
      return HKEY_USERS;
    case RegRoot::kCurrentConfig:
      return HKEY_CURRENT_CONFIG;
    case RegRoot::kDynData:
      return HKEY_DYN_DATA;
  }
  return nullptr;
}

class Win32Key final : public RegistryKey {
 public:
  explicit Win32Key(HKEY key) : key_(key) {}

  RegData Query(std::string_view valueName) override {
    const std::wstring name = Cp932ToWide(valueName);
    DWORD type = 0;
    DWORD size = 0;
    std::vector<BYTE> data;
    LSTATUS rc = ::RegQueryValueExW(key_.get(), name.c_str(), nullptr, &type, nullptr, &size);
    // The value may grow between asking for its size and reading it.
    while (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
      data.resize(size + sizeof(wchar_t));
      DWORD got = size;
      rc = ::RegQueryValueExW(key_.get(), name.c_str(), nullptr, &type, data.data(), &got);
      if (rc == ERROR_SUCCESS) {
        data.resize(got);
        break;
      }
      if (rc != ERROR_MORE_DATA) return {};
      size = got;
    }
    if (rc != ERROR_SUCCESS) return {};
    switch (type) {
      case REG_SZ: {
        std::wstring text(data.size() / sizeof(wchar_t), L'\0');
        std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
        const size_t nul = text.find(L'\0');
        if (nul != std::wstring::npos) text.resize(nul);
        return {RegDataKind::kText, WideToCp932(text)};
      }
      case REG_DWORD:
        return {RegDataKind::kInteger, std::string(data.begin(), data.end())};
      case REG_BINARY:
        return {RegDataKind::kBinary, std::string(data.begin(), data.end())};
      default:
        return {};
    }
  }

 private:
  UniqueKey key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::Open(RegRoot root, const std::string& keyPath,
                                                 RegAccess access) {
  HKEY key = nullptr;
  const REGSAM sam = access == RegAccess::kFull ? KEY_ALL_ACCESS : KEY_READ;
  if (::RegOpenKeyExW(RootKey(root), Cp932ToWide(keyPath).c_str(), 0, sam, &key) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32Key>(key);
}

std::string ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return WideToCp932(path);
    }
    path.resize(path.size() * 2);  // truncated: try a larger buffer
  }
}

Variant RegRead(std::string_view path, std::string_view valueName, const Variant& fallback) {
  Win32Registry registry;
  return zv::RegRead(path, valueName, fallback, registry, FileNameOf(ExecutablePath()),
                     SystemFormatsOfUser());
}

}  // namespace zv::win
