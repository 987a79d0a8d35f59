#include "plugin/host_table.h"

namespace zv {

bool ResolveHostTable(HostTable& table, const std::function<void*(const char* name)>& resolve) {
  bool all = true;
  for (size_t i = 0; i < kHostFunctionCount; ++i) {
    table.entries[i] = resolve(kHostFunctionNames[i]);
    if (!table.entries[i]) all = false;
  }
  return all;
}

}  // namespace zv
