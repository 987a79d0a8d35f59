#include "recipients/address_list.h"

#include "mime/encoded_words.h"
#include "text/lines.h"
#include "text/sjis.h"

namespace zv {

namespace {

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= 0x20;
}

// One element of an address list, read piece by piece. The same text is kept twice until the
// element ends, since only then is it known whether it is `phrase <address>` or a bare address.
class Element {
 public:
  // Plain text outside quotes, comments and angle brackets: one character.
  void Text(std::string_view ch) {
    if (angleDone_) return;
    AppendToPhrase(ch);
    bare_.append(ch);
  }
  // An escaped character outside quotes: the character in the phrase, the escape as written
  // in the address.
  void Escaped(std::string_view escape, std::string_view ch) {
    if (angleDone_) return;
    AppendToPhrase(ch);
    bare_.append(escape);
  }
  void Blank() { blankPending_ = !phrase_.empty(); }
  void Quoted(std::string_view content, std::string_view raw) {
    if (angleDone_) return;
    if (blankPending_) phrase_.push_back(' ');
    blankPending_ = false;
    phrase_.append(content);
    bare_.append(raw);
  }
  void Comment(std::string content) {
    Blank();
    if (!angleDone_ && !haveComment_ && !bare_.empty()) {
      comment_ = std::move(content);
      haveComment_ = true;
    }
  }
  void Angle(std::string address) {
    if (angleDone_) return;
    angle_ = std::move(address);
    angleDone_ = true;
  }
  // A ":" outside everything: what came before it was a group's name.
  void GroupName() { Clear(); }

  void Finish(RecipientKind kind, CharsetConverter& converter, std::vector<Recipient>& out) {
    std::string& address = angleDone_ ? angle_ : bare_;
    if (!address.empty()) {
      Recipient r;
      r.kind = kind;
      r.name =
          DisplayName(angleDone_ ? phrase_ : (haveComment_ ? comment_ : std::string()), converter);
      r.domain = DomainOf(address);
      r.address = std::move(address);
      out.push_back(std::move(r));
    }
    Clear();
  }

 private:
  // Empties the element, keeping the strings' room for the next one.
  void Clear() {
    phrase_.clear();
    bare_.clear();
    comment_.clear();
    angle_.clear();
    blankPending_ = haveComment_ = angleDone_ = false;
  }

  void AppendToPhrase(std::string_view ch) {
    if (blankPending_) phrase_.push_back(' ');
    blankPending_ = false;
    phrase_.append(ch);
  }

  static std::string DisplayName(std::string_view text, CharsetConverter& converter) {
    text = TrimControls(text);
    if (text.find("=?") != std::string_view::npos) {
      Decoded decoded = DecodeEncodedWords(text, converter);
      // A name that does not decode is shown as it was written. A decoded one may hold any
      // byte: control bytes (a zero byte, a line break) become blanks, so that the name stays
      // one line of text wherever it is shown. No second byte of a character is below 0x20.
      if (decoded.ok) {
        for (char& c : decoded.text) {
          if (static_cast<unsigned char>(c) < 0x20) c = ' ';
        }
        return std::string(TrimControls(decoded.text));
      }
    }
    return std::string(text);
  }

  std::string phrase_, bare_, comment_, angle_;
  bool blankPending_ = false;
  bool haveComment_ = false;
  bool angleDone_ = false;
};

// Reads one field's value from left to right.
class ListReader {
 public:
  ListReader(std::string_view value, RecipientKind kind, CharsetConverter& converter,
             std::vector<Recipient>& out)
      : s_(value), kind_(kind), converter_(converter), out_(out) {}

  void Run() {
    while (pos_ < s_.size()) {
      const char c = s_[pos_];
      if (c == ',' || c == ';') {
        ++pos_;
        element_.Finish(kind_, converter_, out_);
      } else if (c == ':') {
        ++pos_;
        element_.GroupName();
      } else if (c == '"') {
        std::string content;
        const std::string_view raw = QuotedString(&content);
        element_.Quoted(content, raw);
      } else if (c == '(') {
        element_.Comment(Comment());
      } else if (c == '<') {
        element_.Angle(AngleAddress());
      } else if (c == '\\' && pos_ + 1 < s_.size()) {
        const size_t start = pos_++;
        const std::string_view ch = Char();
        element_.Escaped(s_.substr(start, pos_ - start), ch);
      } else if (IsBlank(c)) {
        ++pos_;
        element_.Blank();
      } else {
        element_.Text(Char());
      }
    }
    element_.Finish(kind_, converter_, out_);
  }

 private:
  // The character at the position, which then moves past it.
  std::string_view Char() {
    const size_t n = SjisCharLength(s_, pos_);
    const std::string_view ch = s_.substr(pos_, n);
    pos_ += n;
    return ch;
  }

  // At a '"': the quoted string as written (quotes included) and its content with escapes
  // resolved. Unclosed, it runs to the end of the value.
  std::string_view QuotedString(std::string* content) {
    const size_t start = pos_++;
    while (pos_ < s_.size()) {
      const char c = s_[pos_];
      if (c == '"') {
        ++pos_;
        break;
      }
      if (c == '\\' && pos_ + 1 < s_.size()) ++pos_;
      const std::string_view ch = Char();
      if (content) content->append(ch);
    }
    return s_.substr(start, pos_ - start);
  }

  // At a '(': the comment's text with escapes resolved and the comments nested in it dropped.
  std::string Comment() {
    std::string text;
    int depth = 0;
    while (pos_ < s_.size()) {
      const char c = s_[pos_];
      if (c == '(') {
        ++depth;
        ++pos_;
        continue;
      }
      if (c == ')') {
        ++pos_;
        if (--depth == 0) break;
        continue;
      }
      if (c == '\\' && pos_ + 1 < s_.size()) ++pos_;
      const std::string_view ch = Char();
      if (depth == 1) text.append(ch);
    }
    return text;
  }

  // At a '<': the address up to the matching '>', quoted strings and escapes as written,
  // comments and blanks outside quotes dropped.
  std::string AngleAddress() {
    std::string address;
    ++pos_;
    while (pos_ < s_.size()) {
      const char c = s_[pos_];
      if (c == '>') {
        ++pos_;
        break;
      }
      if (c == '"') {
        address.append(QuotedString(nullptr));
      } else if (c == '(') {
        Comment();
      } else if (IsBlank(c)) {
        ++pos_;
      } else if (c == '\\' && pos_ + 1 < s_.size()) {
        const size_t start = pos_++;
        Char();
        address.append(s_.substr(start, pos_ - start));
      } else {
        address.append(Char());
      }
    }
    return address;
  }

  std::string_view s_;
  size_t pos_ = 0;
  RecipientKind kind_;
  CharsetConverter& converter_;
  std::vector<Recipient>& out_;
  Element element_;
};

// The length of "TO:", "CC:" or "BCC:" at the start of `line` in any letter case, or 0.
size_t FieldNameLength(std::string_view line, RecipientKind& kind) {
  static constexpr struct {
    std::string_view name;
    RecipientKind kind;
  } kFields[] = {
      {"TO:", RecipientKind::kTo}, {"CC:", RecipientKind::kCc}, {"BCC:", RecipientKind::kBcc}};
  for (const auto& f : kFields) {
    if (line.size() < f.name.size()) continue;
    size_t i = 0;
    while (i < f.name.size() && UpperAscii(line[i]) == f.name[i]) ++i;
    if (i == f.name.size()) {
      kind = f.kind;
      return i;
    }
  }
  return 0;
}

}  // namespace

std::string DomainOf(std::string_view address) {
  size_t at = std::string_view::npos, last = 0;
  for (size_t i = 0; i < address.size(); i += SjisCharLength(address, i)) {
    if (address[i] == '@') at = i;
    last = i;
  }
  if (at == std::string_view::npos) return {};
  std::string_view domain = address.substr(at + 1);
  if (!domain.empty() && last > at && address[last] == '.') domain.remove_suffix(1);
  return LowerSjis(TrimControls(domain));
}

void ParseAddressList(std::string_view value, RecipientKind kind, CharsetConverter& converter,
                      std::vector<Recipient>& out) {
  // Room for one recipient per separator, so that a long list is not moved again and again.
  size_t separators = 1;
  for (const char c : value) separators += (c == ',' || c == ';') ? 1 : 0;
  out.reserve(out.size() + separators);
  ListReader(value, kind, converter, out).Run();
}

std::vector<Recipient> ParseRecipients(const std::vector<std::string_view>& headerLines,
                                       CharsetConverter& converter) {
  std::vector<Recipient> out;
  for (std::string_view line : headerLines) {
    RecipientKind kind;
    const size_t name = FieldNameLength(line, kind);
    if (name > 0) ParseAddressList(line.substr(name), kind, converter, out);
  }
  return out;
}

}  // namespace zv
