// The Win32 directory search behind ExpandLongPath.
#pragma once

#include "text/long_path.h"

namespace zv::win {

class Win32DirectorySearch final : public DirectorySearch {
 public:
  void ForEach(const std::string& pattern,
               const std::function<bool(const DirEntry&)>& visit) override;
};

}  // namespace zv::win
