// Sizes of the hostile-input tests. Under AddressSanitizer (an unoptimised build) the inputs
// shrink so that the whole run stays within seconds; the benchmarks time the full sizes.
#pragma once

#include <cstddef>

namespace zv::test {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr size_t kHugeLine = size_t{4} << 20;      // stands in for 100 MB
inline constexpr size_t kSettingsLine = size_t{4} << 20;  // stands in for 50 MB
inline constexpr size_t kLongText = size_t{2} << 20;      // stands in for 10 MB
inline constexpr size_t kMillionLines = 100000;
#else
inline constexpr size_t kHugeLine = size_t{100} << 20;
inline constexpr size_t kSettingsLine = size_t{50} << 20;
inline constexpr size_t kLongText = size_t{10} << 20;
inline constexpr size_t kMillionLines = 1000000;
#endif

}  // namespace zv::test
