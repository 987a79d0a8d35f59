// The rule tester's mail reader and the decoders beneath it. Input: a mode byte (saved mail or
// text file, code page 932 or UTF-8), then the file. Besides crashes and hangs: the decoders
// against plain restatements over the same bytes (encode, then decode), and the shape of every
// result.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_input.h"
#include "tester/mime.h"

namespace zv::fuzz {
namespace {

std::string RefBase64(std::string_view bytes) {
  static const char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t v = 0;
    const size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
    for (size_t k = 0; k < 3; ++k) {
      v = (v << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    }
    for (size_t k = 0; k < 4; ++k) out += k <= n ? kAlphabet[(v >> (18 - 6 * k)) & 63] : '=';
    if (i % 57 == 54) out += "\r\n";
  }
  return out;
}

// Every byte as "=XX", with a soft line break after every 20 of them.
std::string RefQuotedPrintable(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    out += '=';
    out += kHex[b >> 4];
    out += kHex[b & 15];
    if (i % 20 == 19) out += "=\r\n";
  }
  return out;
}

// Code page 932 back to the JIS X 0208 row and cell bytes, for a character of rows 1-94.
void RefSjisToJis(unsigned s1, unsigned s2, unsigned& j1, unsigned& j2) {
  if (s1 >= 0xE0) s1 -= 0x40;
  j1 = (s1 - 0x81) * 2 + 0x21;
  if (s2 >= 0x9F) {
    ++j1;
    j2 = s2 - 0x7E;
  } else {
    j2 = s2 - (s2 >= 0x80 ? 0x20 : 0x1F);
  }
}

}  // namespace
}  // namespace zv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zv;
  using namespace zv::tester;
  zv::fuzz::Input input(data, size);
  const uint8_t mode = input.Byte();
  const std::string_view file = input.Rest();
  static const auto converter = PlatformConverter();

  MailText mail;
  const FileEncoding encoding = (mode & 2) ? FileEncoding::kUtf8 : FileEncoding::kCp932;
  const Decoded read = (mode & 1) ? ReadEml(file, encoding, *converter, mail)
                                  : ReadTextMail(file, encoding, *converter, mail);
  ZV_FUZZ_CHECK(read.ok || !read.text.empty(), file);
  if (read.ok) {
    ZV_FUZZ_CHECK(mail.header.empty() || mail.header.ends_with("\r\n"), mail.header);
    if (!(mode & 1) && encoding == FileEncoding::kCp932 && !file.starts_with("\xEF\xBB\xBF")) {
      ZV_FUZZ_CHECK(file.ends_with(mail.body), mail.body);
    }
  }

  const Decoded b64 = DecodeBase64(zv::fuzz::RefBase64(file));
  ZV_FUZZ_CHECK(b64.ok && b64.text == file, b64.text);
  ZV_FUZZ_CHECK(DecodeQuotedPrintable(zv::fuzz::RefQuotedPrintable(file), false) == file, file);
  (void)DecodeBase64(file);
  (void)DecodeQuotedPrintable(file, true);
  const Decoded words = DecodeEncodedWords(file, *converter);
  if (file.find("=?") == std::string_view::npos) {
    ZV_FUZZ_CHECK(words.ok && words.text == file, words.text);
  }

  // Pairs of bytes as JIS X 0208 characters: each comes back as the one code page 932
  // character that maps back to it.
  std::string jis = "\x1B$B";
  for (size_t i = 0; i + 1 < file.size(); i += 2) {
    jis += static_cast<char>(0x21 + static_cast<unsigned char>(file[i]) % 94);
    jis += static_cast<char>(0x21 + static_cast<unsigned char>(file[i + 1]) % 94);
  }
  jis += "\x1B(B";
  const Decoded sjis = Iso2022JpToCp932(jis);
  ZV_FUZZ_CHECK(sjis.ok && sjis.text.size() == jis.size() - 6, jis);
  for (size_t i = 0; i < sjis.text.size(); i += 2) {
    unsigned j1 = 0, j2 = 0;
    zv::fuzz::RefSjisToJis(static_cast<unsigned char>(sjis.text[i]),
                           static_cast<unsigned char>(sjis.text[i + 1]), j1, j2);
    ZV_FUZZ_CHECK(j1 == static_cast<unsigned char>(jis[3 + i]) &&
                      j2 == static_cast<unsigned char>(jis[4 + i]),
                  sjis.text.substr(i, 2));
  }
  (void)Iso2022JpToCp932(file);
  return 0;
}
