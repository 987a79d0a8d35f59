// The Win32 registry behind RegRead, and RegRead as the plug-in calls it: with the host
// process's executable name and the system's formats.
#pragma once

#include <string>
#include <string_view>

#include "settings/registry.h"

namespace zv::win {

class Win32Registry final : public Registry {
 public:
  std::unique_ptr<RegistryKey> Open(RegRoot root, const std::string& keyPath,
                                    RegAccess access) override;
};

// The full path of the process's executable, in code page 932.
std::string ExecutablePath();

Variant RegRead(std::string_view path, std::string_view valueName, const Variant& fallback);

}  // namespace zv::win
