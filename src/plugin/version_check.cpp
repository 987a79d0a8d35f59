#include "plugin/version_check.h"

#include <algorithm>

namespace zv {

bool IsAcceptedHostVersion(std::string_view version) {
  const auto less = [](char a, char b) {
    return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
  };
  return !std::lexicographical_compare(version.begin(), version.end(), kMinimumHostVersion.begin(),
                                       kMinimumHostVersion.end(), less);
}

}  // namespace zv
