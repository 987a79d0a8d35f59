// Copies a UTF-8 C++ source with every non-ASCII character replaced by the octal escapes of its
// code page 932 bytes, so that clang (which only knows UTF-8 literals) compiles Japanese
// literals into the same bytes as g++ with -fexec-charset=CP932. Octal escapes take at most
// three digits, so a following digit or letter never joins them. Escapes inside comments are
// harmless, and text with no code page 932 form (only possible in comments) is kept as it is.
// Raw string literals would not be escaped; the sources hold none with Japanese.
//
// Usage: cp932_escape IN OUT
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

bool Convert(iconv_t cd, const std::string& utf8, std::string& out) {
  std::string buf(utf8.size() * 2 + 8, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* o = buf.data();
  size_t outLeft = buf.size();
  if (iconv(cd, &in, &inLeft, &o, &outLeft) == static_cast<size_t>(-1)) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return false;
  }
  buf.resize(buf.size() - outLeft);
  out = buf;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s IN OUT\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cp932_escape: cannot read %s\n", argv[1]);
    return 1;
  }
  const std::string src((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    std::perror("cp932_escape: iconv_open");
    return 1;
  }
  std::string out;
  out.reserve(src.size() * 2);
  for (size_t i = 0; i < src.size();) {
    if (static_cast<unsigned char>(src[i]) < 0x80) {
      out.push_back(src[i++]);
      continue;
    }
    size_t j = i;
    while (j < src.size() && static_cast<unsigned char>(src[j]) >= 0x80) ++j;
    std::string bytes;
    if (!Convert(cd, src.substr(i, j - i), bytes)) {
      // No code page 932 form: g++ would reject it in a literal, so this is a comment.
      out.append(src, i, j - i);
      i = j;
      continue;
    }
    for (unsigned char b : bytes) {
      char esc[5];
      std::snprintf(esc, sizeof esc, "\\%03o", b);
      out += esc;
    }
    i = j;
  }
  iconv_close(cd);
  std::ofstream os(argv[2], std::ios::binary | std::ios::trunc);
  os << out;
  return os ? 0 : 1;
}
