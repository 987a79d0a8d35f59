// The plug-in's registry record as a test reads it back and removes it.
#pragma once

#include <compare>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace mailora {

inline constexpr char kRecordKey[] = "Software\\Tessaly Lab\\Zorvek32";
inline constexpr char kMakerKey[] = "Software\\Tessaly Lab";

struct RegistryValue {
  std::string name;
  unsigned long type;
  std::string data;  // REG_SZ data without its terminating zero
  bool operator==(const RegistryValue&) const = default;
  auto operator<=>(const RegistryValue&) const = default;
};
std::ostream& operator<<(std::ostream& os, const RegistryValue& v);
// Every value under HKCU\kRecordKey, sorted by name; empty when the key is missing.
std::vector<RegistryValue> ReadPluginRecord();

// Removes the record's key, and the maker's key when nothing else is left in it.
void DeletePluginRecord();

}  // namespace mailora
