// Long-form paths: each component of a path is replaced by the name the file system reports for
// it. The directory search is the platform's and reaches the core through DirectorySearch.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zv {

// File attribute bits, as the Win32 directory search reports them.
inline constexpr uint32_t kAttrHidden = 0x2;
inline constexpr uint32_t kAttrSystem = 0x4;
inline constexpr uint32_t kAttrVolumeLabel = 0x8;
inline constexpr uint32_t kAttrDirectory = 0x10;

struct DirEntry {
  std::string name;  // long name, code page 932
  uint32_t attributes = 0;
};

class DirectorySearch {
 public:
  virtual ~DirectorySearch() = default;
  // Visits the entries matching `pattern` in the order the system reports them, until `visit`
  // returns true or the entries run out; the search is closed before returning.
  virtual void ForEach(const std::string& pattern,
                       const std::function<bool(const DirEntry&)>& visit) = 0;
};

// The first entry matching `pattern` that `accept` takes, if any.
std::optional<DirEntry> FindFirstAccepted(DirectorySearch& fs, const std::string& pattern,
                                          const std::function<bool(const DirEntry&)>& accept);

// The path with every component in long form. The part up to the first backslash is kept as
// written; a component that cannot be found (or is hidden or a system entry, for folders)
// ends the conversion and drops the rest. A path without a backslash gives an empty text.
std::string ExpandLongPath(std::string_view path, DirectorySearch& fs);

// Splits `s` at its backslash characters (never at a trail byte 0x5C) and calls `visit` for
// each piece, with `last` set on the final piece.
void ForEachBackslashPiece(std::string_view s,
                           const std::function<void(std::string_view piece, bool last)>& visit);

}  // namespace zv
