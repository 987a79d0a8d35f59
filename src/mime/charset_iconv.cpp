#include <errno.h>
#include <iconv.h>

#include "mime/charset.h"

namespace zv {
namespace {

// One conversion descriptor, closed with its owner.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much of `in` as it can, appending to `out`; advances `in` past what was used.
  // The errno of the stop, or 0 when all of `in` was converted.
  int Run(std::string_view& in, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buffer[4096];
    while (!in.empty()) {
      char* src = const_cast<char*>(in.data());
      size_t srcLeft = in.size();
      char* dst = buffer;
      size_t dstLeft = sizeof buffer;
      const size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      const int error = r == static_cast<size_t>(-1) ? errno : 0;
      out.append(buffer, static_cast<size_t>(dst - buffer));
      in.remove_prefix(in.size() - srcLeft);
      if (error != 0 && error != E2BIG) return error;
    }
    return 0;
  }

 private:
  iconv_t cd_;
};

// Both descriptors are opened once: opening one costs far more than converting a line.
class IconvConverter : public CharsetConverter {
 public:
  bool Utf8ToCp932(std::string_view utf8, std::string& out) override {
    out.clear();
    return toCp932_.ok() && toCp932_.Run(utf8, out) == 0;
  }

  std::string Cp932ToUtf8(std::string_view cp932) override {
    std::string out;
    if (!toUtf8_.ok()) return std::string(cp932);
    while (toUtf8_.Run(cp932, out) != 0) {
      out += "\xEF\xBF\xBD";
      cp932.remove_prefix(1);
    }
    return out;
  }

 private:
  Iconv toCp932_{"CP932", "UTF-8"};
  Iconv toUtf8_{"UTF-8", "CP932"};
};

}  // namespace

std::unique_ptr<CharsetConverter> PlatformConverter() {
  return std::make_unique<IconvConverter>();
}

}  // namespace zv
