// Typed reads of registry values named by a registry path string: either absolute
// ("\HKEY_CURRENT_USER\Software\...") or relative to the maker's key for the host program.
// The raw key access is the platform's and reaches this code through Registry.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "settings/system_formats.h"
#include "settings/variant.h"

namespace zv {

// The predefined roots, in the order their names are tried.
enum class RegRoot {
  kClassesRoot,
  kCurrentUser,
  kLocalMachine,
  kUsers,
  kCurrentConfig,
  kDynData,
};

struct RegKeyPath {
  RegRoot root = RegRoot::kCurrentUser;
  std::string keyPath;
  friend bool operator==(const RegKeyPath&, const RegKeyPath&) = default;
};

// The maker's area in HKEY_CURRENT_USER; relative paths live under it, below the host's
// executable file name.
inline constexpr std::string_view kMakerKey = "Software\\Tessaly Lab\\";

// Root and key path of a registry path string. A relative path names
// HKEY_CURRENT_USER\Software\Tessaly Lab\<exeFileName>\<path>. An absolute path's root name is
// matched in any letter case; nullopt when it is none of the six.
std::optional<RegKeyPath> SplitRegPath(std::string_view path, std::string_view exeFileName);

// How a stored value's data counts: REG_SZ is text, REG_DWORD integer, REG_BINARY binary;
// REG_EXPAND_SZ, every other type and a missing value are none of these.
enum class RegDataKind { kNone, kText, kInteger, kBinary };

struct RegData {
  RegDataKind kind = RegDataKind::kNone;
  std::string bytes;  // text in code page 932 without its terminating zero; else the raw data
};

enum class RegAccess { kFull, kRead };

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  virtual RegData Query(std::string_view valueName) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens an existing key, creating nothing; null when it is missing or access is refused.
  virtual std::unique_ptr<RegistryKey> Open(RegRoot root, const std::string& keyPath,
                                            RegAccess access) = 0;
};

// The stored data read in the way the kind of `fallback` asks for; null when the data is not
// accepted for that kind or does not convert.
Variant ConvertRegData(const RegData& data, const Variant& fallback, const SystemFormats& formats);

// The value `valueName` of the key `path`, read as the kind of `fallback`; `fallback` when the
// key or value is missing or unusable. Null (not `fallback`) when the root name is unknown.
Variant RegRead(std::string_view path, std::string_view valueName, const Variant& fallback,
                Registry& registry, std::string_view exeFileName, const SystemFormats& formats);

// The file name part of a path: what follows its last backslash, slash or colon.
std::string FileNameOf(std::string_view path);

}  // namespace zv
