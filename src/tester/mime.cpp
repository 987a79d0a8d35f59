#include "tester/mime.h"

#include <vector>

namespace zv::tester {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// Parts nested deeper than this are refused: each level scans its own text again.
constexpr int kMaxDepth = 16;

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// One line of a text: [start, end) without its break, `next` after the break.
struct Line {
  size_t start, end, next;
};

// The line that starts at `pos` (< text.size()); breaks are CR LF, a lone CR or a lone LF.
Line LineAt(std::string_view text, size_t pos) {
  size_t brk = text.find_first_of("\r\n", pos);
  if (brk == std::string_view::npos) return {pos, text.size(), text.size()};
  const bool crlf = text[brk] == '\r' && brk + 1 < text.size() && text[brk + 1] == '\n';
  return {pos, brk, brk + (crlf ? 2 : 1)};
}

// The text up to the first empty line, and the text after that line.
void SplitAtEmptyLine(std::string_view text, std::string_view& header, std::string_view& body) {
  for (size_t pos = 0; pos < text.size();) {
    const Line line = LineAt(text, pos);
    if (line.start == line.end) {
      header = text.substr(0, pos);
      body = text.substr(line.next);
      return;
    }
    pos = line.next;
  }
  header = text;
  body = {};
}

// A header field with its continuation lines joined on (the line breaks removed, the blanks
// kept). A line without a colon is a field with no name that is kept as it stands.
struct Field {
  std::string_view name;
  bool hasColon = false;
  std::string value;
};

std::vector<Field> ParseFields(std::string_view header) {
  std::vector<Field> fields;
  for (size_t pos = 0; pos < header.size();) {
    const Line line = LineAt(header, pos);
    const std::string_view text = header.substr(line.start, line.end - line.start);
    pos = line.next;
    if (!text.empty() && IsBlank(text[0]) && !fields.empty()) {
      fields.back().value += text;
      continue;
    }
    const size_t colon = text.find(':');
    Field f;
    if (colon == std::string_view::npos) {
      f.value = std::string(text);
    } else {
      f.name = text.substr(0, colon);
      f.hasColon = true;
      f.value = std::string(text.substr(colon + 1));
    }
    fields.push_back(std::move(f));
  }
  return fields;
}

const Field* FindField(const std::vector<Field>& fields, std::string_view name) {
  for (const Field& f : fields) {
    if (f.hasColon && EqualsNoCase(Trim(f.name), name)) return &f;
  }
  return nullptr;
}

// A structured value such as "text/plain; charset="x"; name=y": the first item in lower
// case, and the parameters with their names in lower case and their values unquoted.
struct Structured {
  std::string item;
  std::vector<std::pair<std::string, std::string>> params;

  const std::string* Param(std::string_view name) const {
    for (const auto& [key, value] : params) {
      if (key == name) return &value;
    }
    return nullptr;
  }
  // A file name given in any of the ways clients write it, RFC 2231 pieces included.
  bool NamesAFile() const {
    for (const auto& p : params) {
      const std::string& key = p.first;
      if (key == "filename" || key == "name" || key.starts_with("filename*") ||
          key.starts_with("name*")) {
        return true;
      }
    }
    return false;
  }
};

Structured ParseStructured(std::string_view value) {
  Structured s;
  size_t pos = value.find(';');
  s.item = LowerAscii(Trim(value.substr(0, pos)));
  while (pos != std::string_view::npos && pos < value.size()) {
    ++pos;  // the ';'
    size_t nameEnd = pos;
    while (nameEnd < value.size() && value[nameEnd] != '=' && value[nameEnd] != ';') ++nameEnd;
    std::string name = LowerAscii(Trim(value.substr(pos, nameEnd - pos)));
    std::string paramValue;
    pos = nameEnd;
    if (pos < value.size() && value[pos] == '=') {
      ++pos;
      while (pos < value.size() && IsSpace(value[pos])) ++pos;
      if (pos < value.size() && value[pos] == '"') {
        for (++pos; pos < value.size() && value[pos] != '"'; ++pos) {
          if (value[pos] == '\\' && pos + 1 < value.size()) ++pos;
          paramValue.push_back(value[pos]);
        }
        if (pos < value.size()) ++pos;  // the closing quote
        pos = value.find(';', pos);
      } else {
        const size_t end = value.find(';', pos);
        paramValue = std::string(Trim(value.substr(pos, end == std::string_view::npos
                                                             ? std::string_view::npos
                                                             : end - pos)));
        pos = end;
      }
    }
    if (!name.empty()) s.params.emplace_back(std::move(name), std::move(paramValue));
  }
  return s;
}

Decoded RawToCp932(std::string_view bytes, FileEncoding encoding, CharsetConverter& converter) {
  if (encoding == FileEncoding::kCp932) return Decoded::Ok(std::string(bytes));
  std::string out;
  if (!converter.Utf8ToCp932(bytes, out)) {
    return Decoded::Fail("not UTF-8, or a character with no code page 932 form");
  }
  return Decoded::Ok(std::move(out));
}

// Walks the parts of a saved mail, taking the first text part as the body and noting files.
class PartWalker {
 public:
  PartWalker(FileEncoding encoding, CharsetConverter& converter, MailText& mail)
      : encoding_(encoding), converter_(converter), mail_(mail) {}

  Decoded Entity(const std::vector<Field>& fields, std::string_view body, int depth) {
    if (depth > kMaxDepth) return Decoded::Fail("parts nested too deeply");
    const Field* typeField = FindField(fields, "Content-Type");
    const Field* dispositionField = FindField(fields, "Content-Disposition");
    const Structured type = ParseStructured(typeField ? typeField->value : "text/plain");
    if (type.NamesAFile() ||
        (dispositionField && ParseStructured(dispositionField->value).NamesAFile())) {
      mail_.attachment = true;
      return Decoded::Ok({});
    }
    if (type.item.starts_with("multipart/")) return Multipart(type, body, depth);
    const bool text = type.item == "text/plain" || (depth == 0 && type.item.starts_with("text/"));
    if (!text || bodyTaken_) return Decoded::Ok({});
    bodyTaken_ = true;
    const Field* encodingField = FindField(fields, "Content-Transfer-Encoding");
    Decoded bytes = TransferDecode(encodingField ? encodingField->value : "", body);
    if (!bytes.ok) return bytes;
    const std::string* charset = type.Param("charset");
    Decoded decoded = charset ? CharsetToCp932(bytes.text, *charset, converter_)
                              : RawToCp932(bytes.text, encoding_, converter_);
    if (!decoded.ok) return decoded;
    mail_.body = std::move(decoded.text);
    return Decoded::Ok({});
  }

 private:
  static Decoded TransferDecode(std::string_view name, std::string_view body) {
    const std::string lower = LowerAscii(Trim(name));
    if (lower.empty() || lower == "7bit" || lower == "8bit" || lower == "binary") {
      return Decoded::Ok(std::string(body));
    }
    if (lower == "base64") return DecodeBase64(body);
    if (lower == "quoted-printable") return Decoded::Ok(DecodeQuotedPrintable(body, false));
    return Decoded::Fail("unknown transfer encoding \"" + std::string(Trim(name)) + "\"");
  }

  // The parts between the lines "--boundary"; the line "--boundary--" ends the last one.
  Decoded Multipart(const Structured& type, std::string_view body, int depth) {
    const std::string* boundary = type.Param("boundary");
    if (!boundary || boundary->empty()) return Decoded::Fail("multipart mail without a boundary");
    const std::string delimiter = "--" + *boundary;
    size_t partStart = std::string_view::npos;  // none before the first delimiter
    size_t previousEnd = 0;                     // end of the line before the current one
    for (size_t pos = 0; pos < body.size();) {
      const Line line = LineAt(body, pos);
      std::string_view text = body.substr(line.start, line.end - line.start);
      if (text.starts_with(delimiter)) {
        text.remove_prefix(delimiter.size());
        const bool last = text.starts_with("--");
        if (last) text.remove_prefix(2);
        if (Trim(text).empty()) {
          if (partStart != std::string_view::npos) {
            const size_t end = previousEnd < partStart ? partStart : previousEnd;
            Decoded d = Part(body.substr(partStart, end - partStart), depth);
            if (!d.ok) return d;
          }
          if (last) return Decoded::Ok({});
          partStart = line.next;
        }
      }
      previousEnd = line.end;
      pos = line.next;
    }
    if (partStart != std::string_view::npos && partStart < body.size()) {
      return Part(body.substr(partStart), depth);
    }
    return Decoded::Ok({});
  }

  Decoded Part(std::string_view part, int depth) {
    std::string_view header, body;
    SplitAtEmptyLine(part, header, body);
    return Entity(ParseFields(header), body, depth + 1);
  }

  FileEncoding encoding_;
  CharsetConverter& converter_;
  MailText& mail_;
  bool bodyTaken_ = false;
};

}  // namespace

Decoded DecodeBase64(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3 + 3);
  uint32_t bits = 0;
  int count = 0;  // characters in the current group of four
  bool padded = false;
  for (const char c : text) {
    if (IsSpace(c)) continue;
    int v;
    if (c >= 'A' && c <= 'Z') v = c - 'A';
    else if (c >= 'a' && c <= 'z') v = c - 'a' + 26;
    else if (c >= '0' && c <= '9') v = c - '0' + 52;
    else if (c == '+') v = 62;
    else if (c == '/') v = 63;
    else if (c == '=') {
      padded = true;
      continue;
    } else {
      return Decoded::Fail("bad base64");
    }
    if (padded) return Decoded::Fail("bad base64: data after the padding");
    bits = (bits << 6) | static_cast<uint32_t>(v);
    if (++count == 4) {
      out.push_back(static_cast<char>(bits >> 16));
      out.push_back(static_cast<char>(bits >> 8));
      out.push_back(static_cast<char>(bits));
      bits = 0;
      count = 0;
    }
  }
  if (count == 1) return Decoded::Fail("bad base64: a lone last character");
  if (count == 2) out.push_back(static_cast<char>(bits >> 4));
  if (count == 3) {
    out.push_back(static_cast<char>(bits >> 10));
    out.push_back(static_cast<char>(bits >> 2));
  }
  return Decoded::Ok(std::move(out));
}

std::string DecodeQuotedPrintable(std::string_view text, bool underscoreIsSpace) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '_' && underscoreIsSpace) {
      out.push_back(' ');
      continue;
    }
    if (c != '=') {
      out.push_back(c);
      continue;
    }
    if (i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
      continue;
    }
    // A soft line break: "=", maybe blanks, then the end of the line.
    size_t j = i + 1;
    while (j < text.size() && IsBlank(text[j])) ++j;
    if (j == text.size()) return out;
    if (text[j] == '\r' || text[j] == '\n') {
      i = (text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n') ? j + 1 : j;
      continue;
    }
    out.push_back('=');
  }
  return out;
}

Decoded Iso2022JpToCp932(std::string_view bytes) {
  enum class Mode { kAscii, kKanji, kKana } mode = Mode::kAscii;
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b == 0x1B) {
      const std::string_view seq = bytes.substr(i + 1, 2);
      if (seq == "(B" || seq == "(J") mode = Mode::kAscii;
      else if (seq == "$B" || seq == "$@") mode = Mode::kKanji;
      else if (seq == "(I") mode = Mode::kKana;
      else return Decoded::Fail("ISO-2022-JP: an unknown escape sequence");
      i += 2;
      continue;
    }
    if (b >= 0x80) return Decoded::Fail("ISO-2022-JP: a byte above 0x7F");
    if (b < 0x21 || b == 0x7F || mode == Mode::kAscii) {
      out.push_back(static_cast<char>(b));
      continue;
    }
    if (mode == Mode::kKana) {
      if (b > 0x5F) return Decoded::Fail("ISO-2022-JP: a byte outside the kana set");
      out.push_back(static_cast<char>(b + 0x80));
      continue;
    }
    if (i + 1 >= bytes.size()) return Decoded::Fail("ISO-2022-JP: half a character");
    const auto b2 = static_cast<unsigned char>(bytes[i + 1]);
    if (b2 < 0x21 || b2 > 0x7E) return Decoded::Fail("ISO-2022-JP: half a character");
    ++i;
    // JIS row pairs map onto one lead byte each; the odd row takes the lower trail range.
    unsigned lead = (b + 1) / 2 + 0x70;
    if (lead >= 0xA0) lead += 0x40;
    unsigned trail = (b & 1) ? b2 + 0x1F + (b2 >= 0x60 ? 1 : 0) : b2 + 0x7E;
    out.push_back(static_cast<char>(lead));
    out.push_back(static_cast<char>(trail));
  }
  return Decoded::Ok(std::move(out));
}

Decoded CharsetToCp932(std::string_view bytes, std::string_view charset,
                       CharsetConverter& converter) {
  const std::string name = LowerAscii(Trim(charset));
  if (name == "iso-2022-jp" || name == "csiso2022jp") return Iso2022JpToCp932(bytes);
  if (name == "shift_jis" || name == "shift-jis" || name == "sjis" || name == "x-sjis" ||
      name == "cp932" || name == "windows-31j" || name == "ms_kanji" || name == "csshiftjis") {
    return Decoded::Ok(std::string(bytes));
  }
  if (name == "utf-8" || name == "utf8") {
    if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
    std::string out;
    if (!converter.Utf8ToCp932(bytes, out)) {
      return Decoded::Fail("not UTF-8, or a character with no code page 932 form");
    }
    return Decoded::Ok(std::move(out));
  }
  if (name == "us-ascii" || name == "ascii") {
    for (const char c : bytes) {
      if (static_cast<unsigned char>(c) >= 0x80) return Decoded::Fail("US-ASCII: a byte above 0x7F");
    }
    return Decoded::Ok(std::string(bytes));
  }
  return Decoded::Fail("unknown charset \"" + std::string(Trim(charset)) + "\"");
}

Decoded DecodeEncodedWords(std::string_view value, CharsetConverter& converter) {
  std::string out;
  std::string pending;  // blanks not yet written: dropped between two encoded words
  bool afterWord = false;
  size_t i = 0;
  while (i < value.size()) {
    const char c = value[i];
    if (IsSpace(c)) {
      pending.push_back(c);
      ++i;
      continue;
    }
    if (c == '=' && i + 1 < value.size() && value[i + 1] == '?') {
      // "=?" charset "?" B or Q "?" text "?=", none of the pieces holding a blank or a "?".
      const size_t charsetEnd = value.find_first_of("? \t\r\n", i + 2);
      const bool shape = charsetEnd != std::string_view::npos && value[charsetEnd] == '?' &&
                         charsetEnd + 2 < value.size() && value[charsetEnd + 2] == '?';
      const size_t textEnd = shape ? value.find_first_of("? \t\r\n", charsetEnd + 3)
                                   : std::string_view::npos;
      if (textEnd != std::string_view::npos && value[textEnd] == '?' &&
          textEnd + 1 < value.size() && value[textEnd + 1] == '=') {
        std::string_view charset = value.substr(i + 2, charsetEnd - i - 2);
        charset = charset.substr(0, charset.find('*'));  // RFC 2231 language
        const char kind = Lower(value[charsetEnd + 1]);
        const std::string_view text = value.substr(charsetEnd + 3, textEnd - charsetEnd - 3);
        if (kind == 'b' || kind == 'q') {
          Decoded bytes = kind == 'b' ? DecodeBase64(text)
                                      : Decoded::Ok(DecodeQuotedPrintable(text, true));
          if (!bytes.ok) return bytes;
          Decoded word = CharsetToCp932(bytes.text, charset, converter);
          if (!word.ok) return word;
          if (!afterWord) out += pending;
          pending.clear();
          out += word.text;
          afterWord = true;
          i = textEnd + 2;
          continue;
        }
      }
    }
    out += pending;
    pending.clear();
    out.push_back(c);
    afterWord = false;
    ++i;
  }
  out += pending;
  return Decoded::Ok(std::move(out));
}

Decoded ReadTextMail(std::string_view file, FileEncoding encoding, CharsetConverter& converter,
                     MailText& mail) {
  std::string converted;
  if (file.starts_with(kUtf8Bom)) {
    file.remove_prefix(kUtf8Bom.size());
    encoding = FileEncoding::kUtf8;
  }
  if (encoding == FileEncoding::kUtf8) {
    Decoded d = RawToCp932(file, encoding, converter);
    if (!d.ok) return d;
    converted = std::move(d.text);
    file = converted;
  }
  std::string_view header, body;
  SplitAtEmptyLine(file, header, body);
  mail = {};
  for (size_t pos = 0; pos < header.size();) {
    const Line line = LineAt(header, pos);
    mail.header.append(header.substr(line.start, line.end - line.start));
    mail.header.append("\r\n");
    pos = line.next;
  }
  mail.body = std::string(body);
  return Decoded::Ok({});
}

Decoded ReadEml(std::string_view file, FileEncoding encoding, CharsetConverter& converter,
                MailText& mail) {
  if (file.starts_with(kUtf8Bom)) {
    file.remove_prefix(kUtf8Bom.size());
    encoding = FileEncoding::kUtf8;
  }
  std::string_view rawHeader, body;
  SplitAtEmptyLine(file, rawHeader, body);
  Decoded header = RawToCp932(rawHeader, encoding, converter);
  if (!header.ok) return Decoded::Fail("header: " + header.text);
  mail = {};
  const std::vector<Field> fields = ParseFields(header.text);
  for (const Field& f : fields) {
    Decoded value = DecodeEncodedWords(f.value, converter);
    if (!value.ok) return Decoded::Fail("header " + std::string(f.name) + ": " + value.text);
    if (f.hasColon) {
      mail.header.append(f.name);
      mail.header.push_back(':');
    }
    mail.header.append(value.text);
    mail.header.append("\r\n");
  }
  PartWalker walker(encoding, converter, mail);
  Decoded d = walker.Entity(fields, body, 0);
  if (!d.ok) return d;
  return Decoded::Ok({});
}

bool IsEmlName(std::string_view name) {
  return name.size() >= 4 && EqualsNoCase(name.substr(name.size() - 4), ".eml");
}

}  // namespace zv::tester
