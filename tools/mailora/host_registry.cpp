#include "host_registry.h"

#include <windows.h>

#include <algorithm>

#include "win/handles_win32.h"

namespace mailora {

std::vector<RegistryValue> ReadPluginRecord() {
  std::vector<RegistryValue> values;
  HKEY raw = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRecordKey, 0, KEY_READ, &raw) != ERROR_SUCCESS) {
    return values;
  }
  const zv::win::UniqueKey key(raw);
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD nameLength = sizeof name;
    BYTE data[1024];
    DWORD dataLength = sizeof data;
    DWORD type = 0;
    if (::RegEnumValueA(key.get(), i, name, &nameLength, nullptr, &type, data, &dataLength) !=
        ERROR_SUCCESS) {
      break;
    }
    std::string text(reinterpret_cast<const char*>(data), dataLength);
    if (type == REG_SZ && !text.empty() && text.back() == '\0') text.pop_back();
    values.push_back({std::string(name, nameLength), type, text});
  }
  std::sort(values.begin(), values.end());
  return values;
}

std::ostream& operator<<(std::ostream& os, const RegistryValue& v) {
  return os << v.name << " (type " << v.type << ") = \"" << v.data << "\"";
}

void DeletePluginRecord() {
  ::RegDeleteKeyA(HKEY_CURRENT_USER, kRecordKey);
  ::RegDeleteKeyA(HKEY_CURRENT_USER, kMakerKey);  // fails, as it should, while not empty
}

}  // namespace mailora
