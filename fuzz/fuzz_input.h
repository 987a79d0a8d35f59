// Reading a fuzz input as a few numbers and texts. Texts are separated by "|~|", a sequence
// the dictionaries hold so that mutations can move the borders; a text may hold any other
// bytes, zero bytes included.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace zv::fuzz {

inline constexpr std::string_view kSeparator = "|~|";

class Input {
 public:
  Input(const uint8_t* data, size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

  // The next byte, 0 once the input is used up.
  uint8_t Byte() {
    if (rest_.empty()) return 0;
    const uint8_t b = static_cast<uint8_t>(rest_[0]);
    rest_.remove_prefix(1);
    return b;
  }

  // A character number or count for the text functions, drawn from byte `b`: mostly small
  // values around a text of `length` characters, sometimes the extremes.
  static int CharNumber(uint8_t b, int length) {
    switch (b % 16) {
      case 0:
        return 2147483647;
      case 1:
        return -2147483647 - 1;
      case 2:
        return 2147483646;
      case 3:
        return -length - static_cast<int>(b / 16);
      default:
        return static_cast<int>(b / 16) + ((b % 16) >= 10 ? length - 4 : -3);
    }
  }

  // The next text, up to the separator or the end.
  std::string_view Text() {
    const size_t sep = rest_.find(kSeparator);
    if (sep == std::string_view::npos) {
      const std::string_view text = rest_;
      rest_ = {};
      return text;
    }
    const std::string_view text = rest_.substr(0, sep);
    rest_.remove_prefix(sep + kSeparator.size());
    return text;
  }

  // Everything not yet read.
  std::string_view Rest() {
    const std::string_view text = rest_;
    rest_ = {};
    return text;
  }

  bool empty() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

// Prints what differs and stops the run; libFuzzer keeps the input as a crash.
[[noreturn]] inline void Fail(const char* what, std::string_view detail = {}) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  if (!detail.empty()) {
    std::fprintf(stderr, "  detail (%zu bytes):", detail.size());
    for (size_t i = 0; i < detail.size() && i < 200; ++i)
      std::fprintf(stderr, " %02X", static_cast<unsigned char>(detail[i]));
    std::fprintf(stderr, "\n");
  }
  std::abort();
}

#define ZV_FUZZ_CHECK(cond, detail)               \
  do {                                            \
    if (!(cond)) ::zv::fuzz::Fail(#cond, detail); \
  } while (0)

}  // namespace zv::fuzz
