#include "tester/mime.h"

#include <vector>

#include "mime/mime_text.h"

namespace zv::tester {
namespace {

using mime::EqualsNoCase;
using mime::IsBlank;
using mime::IsSpace;
using mime::LowerAscii;
using mime::Trim;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// Parts nested deeper than this are refused: each level scans its own text again.
constexpr int kMaxDepth = 16;

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
