#include "settings/ini_store.h"

#include <algorithm>
#include <cstring>

#include "text/lines.h"
#include "text/sjis.h"

namespace zv {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool IsControl(char c) {
  return static_cast<unsigned char>(c) < 0x20;
}

// The upper-case form (a-z outside two-byte characters) is never built. The hash folds every
// byte with 0x20, which maps a letter and its capital alike, so names that are equal in upper
// case hash alike; the comparison then follows each name's own character walk.
size_t HashUpper(std::string_view s) {
  constexpr uint64_t kFold = 0x2020202020202020ull;
  constexpr uint64_t kMul = 0x9E3779B97F4A7C15ull;
  uint64_t h = s.size() * kMul;
  size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    uint64_t w;
    std::memcpy(&w, s.data() + i, 8);
    h = (h ^ (w | kFold)) * kMul;
    h ^= h >> 32;
  }
  uint64_t tail = 0;
  for (size_t k = 0; i < s.size(); ++i, ++k) {
    tail |= static_cast<uint64_t>(static_cast<unsigned char>(s[i]) | 0x20u) << (8 * k);
  }
  h = (h ^ tail) * kMul;
  return static_cast<size_t>(h ^ (h >> 29));
}

size_t Pow2AtLeast(size_t n) {
  size_t p = 16;
  while (p < n) p <<= 1;
  return p;
}

// Section "\" key, in place for the usual short names.
class JoinedName {
 public:
  JoinedName(std::string_view section, std::string_view key) {
    size_ = section.size() + 1 + key.size();
    char* p = inline_;
    if (size_ > sizeof inline_) {
      heap_.resize(size_);
      p = heap_.data();
    }
    std::memcpy(p, section.data(), section.size());
    p[section.size()] = '\\';
    std::memcpy(p + section.size() + 1, key.data(), key.size());
    data_ = p;
  }
  JoinedName(const JoinedName&) = delete;
  JoinedName& operator=(const JoinedName&) = delete;
  std::string_view view() const { return {data_, size_}; }

 private:
  char inline_[96];
  std::string heap_;
  const char* data_ = nullptr;
  size_t size_ = 0;
};

bool NeedsEscape(std::string_view text) {
  for (char c : text) {
    if (c == '%' || IsControl(c)) return true;
  }
  return false;
}

}  // namespace

// Since no byte that needs escaping can be a second byte, both directions work byte by byte:
// every "%" and every control byte is escaped, and every "%" in a stored value starts an escape.
std::string EscapeIniValue(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  size_t run = 0;  // start of the bytes not yet copied
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '%' && !IsControl(c)) continue;
    out.append(text.substr(run, i - run));
    run = i + 1;
    if (c == '%') {
      out.append("%%");
    } else {
      const auto b = static_cast<unsigned char>(c);
      out.push_back('%');
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 0xF]);
    }
  }
  out.append(text.substr(run));
  return out;
}

std::optional<std::string> UnescapeIniValue(std::string_view text) {
  size_t i = text.find('%');
  if (i == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  const size_t n = text.size();
  size_t run = 0;  // start of the bytes not yet copied
  for (; i != std::string_view::npos; i = text.find('%', run)) {
    out.append(text.substr(run, i - run));
    if (i + 1 < n && text[i + 1] == '%') {
      out.push_back('%');
      run = i + 2;
      continue;
    }
    // Up to two hex digits after the "%"; fewer only at the end.
    size_t j = i + 1;
    int value = 0;
    int digits = 0;
    for (; digits < 2 && j < n; ++digits, ++j) {
      const int h = HexValue(text[j]);
      if (h < 0) return std::nullopt;
      value = value * 16 + h;
    }
    if (digits == 0) return std::nullopt;
    out.push_back(static_cast<char>(value));
    run = j;
  }
  out.append(text.substr(run));
  return out;
}

void IniStore::Clear() {
  lastHit_ = kNone;
  text_.clear();
  entries_.clear();
  slots_.clear();
  live_ = usedSlots_ = garbage_ = 0;
}

void IniStore::Parse(std::string_view fileText) {
  Clear();
  text_.assign(UntilNul(fileText));
  const char* p = text_.data();
  const size_t n = text_.size();
  constexpr size_t npos = std::string_view::npos;
  // Position of the first `c` at or after `from`, or n.
  auto find = [&](char c, size_t from, size_t to) {
    const void* hit = from < to ? std::memchr(p + from, c, to - from) : nullptr;
    return hit ? static_cast<size_t>(static_cast<const char*>(hit) - p) : npos;
  };
  size_t lines = 1;
  for (size_t at = find('\n', 0, n); at != npos; at = find('\n', at + 1, n)) ++lines;
  entries_.reserve(lines);
  Rehash(Pow2AtLeast(lines * 2));

  // Lines end at CR LF, CR or LF; within a line the first "=" separates the name, the first
  // ":" after it the type. Without "=" the whole line is the name and also the rest, which its
  // first ":" splits. These bytes are found by plain search: a lead byte never takes a line
  // break, "=" or ":" as its second byte (none of them can be one). So the name or type of a
  // hand-edited line may end with a lone lead byte, and the separator written after it still
  // separates when the file is read again; otherwise such a line would grow at every save.
  size_t nextCr = find('\r', 0, n), nextLf = find('\n', 0, n);
  for (size_t start = 0; start < n;) {
    if (nextCr < start) nextCr = find('\r', start, n);
    if (nextLf < start) nextLf = find('\n', start, n);
    const size_t end = std::min({nextCr, nextLf, n});
    const size_t eq = find('=', start, end);
    if (eq == npos) {
      const Span whole{start, end - start};
      const size_t colon = find(':', start, end);
      if (colon == npos) {
        AppendEntry(whole, whole, whole);
      } else {
        AppendEntry(whole, Span{start, colon - start}, Span{colon + 1, end - colon - 1});
      }
    } else {
      const size_t colon = find(':', eq + 1, end);
      if (colon == npos) {
        const Span rest{eq + 1, end - eq - 1};
        AppendEntry(Span{start, eq - start}, rest, rest);
      } else {
        AppendEntry(Span{start, eq - start}, Span{eq + 1, colon - eq - 1},
                    Span{colon + 1, end - colon - 1});
      }
    }
    if (end == n) break;
    start = end + ((p[end] == '\r' && end + 1 < n && p[end + 1] == '\n') ? 2 : 1);
  }
}

void IniStore::AppendEntry(Span name, Span type, Span value) {
  Entry e;
  e.name = name;
  e.type = type;
  e.value = value;
  entries_.push_back(e);
  ++live_;
  IndexInsert(static_cast<uint32_t>(entries_.size() - 1));
}

size_t IniStore::FindSlot(std::string_view name) const {
  if (slots_.empty()) return std::string_view::npos;
  const size_t mask = slots_.size() - 1;
  const size_t hash = HashUpper(name);
  const auto tag = static_cast<uint32_t>(static_cast<uint64_t>(hash) >> 32);
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.entry == 0) return std::string_view::npos;
    if (slot.entry != kTombstone && slot.hash == tag &&
        EqualsIgnoringAsciiCase(View(entries_[slot.entry - 1].name), name)) {
      return i;
    }
  }
}

uint32_t IniStore::FindEntry(std::string_view name) const {
  const uint32_t next = lastHit_ + 1;  // 0 when there was no hit yet
  if (next < entries_.size()) {
    const Entry& e = entries_[next];
    if (e.live && e.first && EqualsIgnoringAsciiCase(View(e.name), name)) return lastHit_ = next;
  }
  const size_t slot = FindSlot(name);
  if (slot == std::string_view::npos) return kNone;
  return lastHit_ = slots_[slot].entry - 1;
}

void IniStore::IndexInsert(uint32_t entry) {
  if ((usedSlots_ + 1) * 4 > slots_.size() * 3) {
    Rehash(Pow2AtLeast((live_ + 1) * 2));  // re-indexes every live entry, this one included
    return;
  }
  Entry& e = entries_[entry];
  e.nextSame = kNone;
  e.lastSame = entry;
  e.first = true;
  const std::string_view name = View(e.name);
  const size_t mask = slots_.size() - 1;
  const size_t hash = HashUpper(name);
  const auto tag = static_cast<uint32_t>(static_cast<uint64_t>(hash) >> 32);
  size_t freeSlot = std::string_view::npos;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot slot = slots_[i];
    if (slot.entry == kTombstone) {
      if (freeSlot == std::string_view::npos) freeSlot = i;
      continue;
    }
    if (slot.entry == 0) {
      if (freeSlot == std::string_view::npos) {
        freeSlot = i;
        ++usedSlots_;
      }
      slots_[freeSlot] = Slot{entry + 1, tag};
      return;
    }
    if (slot.hash != tag) continue;
    Entry& first = entries_[slot.entry - 1];
    if (EqualsIgnoringAsciiCase(View(first.name), name)) {
      e.first = false;
      entries_[first.lastSame].nextSame = entry;
      first.lastSame = entry;
      return;
    }
  }
}

void IniStore::Rehash(size_t capacity) {
  slots_.assign(capacity, Slot{});
  usedSlots_ = 0;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].live) IndexInsert(static_cast<uint32_t>(i));
  }
}

void IniStore::RemoveFirst(size_t slot) {
  const uint32_t first = slots_[slot].entry - 1;
  Entry& e = entries_[first];
  e.live = false;
  --live_;
  garbage_ += e.name.length + e.type.length + e.value.length;
  e.first = false;
  if (e.nextSame != kNone) {
    entries_[e.nextSame].lastSame = e.lastSame;
    entries_[e.nextSame].first = true;
    slots_[slot].entry = e.nextSame + 1;
  } else {
    slots_[slot].entry = kTombstone;
  }
  CompactIfSparse();
}

void IniStore::Assign(Span& span, std::string_view value) {
  if (View(span) == value) return;
  garbage_ += span.length;
  span = Span{text_.size(), value.size()};
  text_.append(value);
}

void IniStore::CompactIfSparse() {
  const size_t dead = entries_.size() - live_;
  if (dead > 64 && dead > live_) {
    std::vector<Entry> kept;
    kept.reserve(live_ * 2);
    for (const Entry& e : entries_) {
      if (e.live) kept.push_back(e);
    }
    entries_ = std::move(kept);
    Rehash(Pow2AtLeast(live_ * 2));
  }
  if (garbage_ > 4096 && garbage_ > text_.size() / 2) {
    std::string packed;
    packed.reserve(text_.size() - std::min(garbage_, text_.size()));
    auto move = [&](Span& s) {
      const Span moved{packed.size(), s.length};
      packed.append(View(s));
      s = moved;
    };
    for (Entry& e : entries_) {
      if (!e.live) {
        e.name = e.type = e.value = Span{};
        continue;
      }
      move(e.name);
      move(e.type);
      move(e.value);
    }
    text_ = std::move(packed);
    garbage_ = 0;
  }
}

bool IniStore::Has(std::string_view section, std::string_view key) const {
  return FindEntry(JoinedName(section, key).view()) != kNone;
}

void IniStore::WriteOption(std::string_view section, std::string_view key, const Variant& value,
                           const Variant& off) {
  if (!(value == off) || Has(section, key)) Write(section, key, value);
}

Variant IniStore::Read(std::string_view section, std::string_view key,
                       const Variant& fallback) const {
  const JoinedName name(section, key);
  const uint32_t index = FindEntry(name.view());
  if (index == kNone) return fallback;
  const Entry& e = entries_[index];
  const std::string_view type = View(e.type);
  const std::string_view value = View(e.value);
  if (type == "Boolean") return Variant::Boolean(IsFlagOn(value));
  if (type == "Date") {
    auto v = formats_->ParseDateTime(value);
    return v ? Variant::Date(*v) : fallback;
  }
  if (type == "Float") {
    auto v = ParseFloat(value, *formats_);
    return v ? Variant::Float64(*v) : fallback;
  }
  if (type == "Integer") {
    auto v = ParseInt32(value);
    return v ? Variant::Int32(*v) : fallback;
  }
  auto v = UnescapeIniValue(value);
  return v ? Variant::Text(std::move(*v)) : fallback;
}

bool IniStore::Write(std::string_view section, std::string_view key, const Variant& value) {
  const JoinedName name(section, key);
  if (value.IsEmptyOrNull()) {
    const size_t slot = FindSlot(name.view());
    if (slot != std::string_view::npos) RemoveFirst(slot);
    return true;
  }
  std::optional<std::string> text;
  switch (value.kind()) {
    case VariantKind::kBoolean:
      Store(name.view(), "Boolean", FlagText(*value.AsBoolean()));
      return true;
    case VariantKind::kDateTime:
      text = FormatDateTime(*value.AsDateTime(), *formats_);
      if (text) Store(name.view(), "Date", *text);
      return text.has_value();
    case VariantKind::kFloat32:
    case VariantKind::kFloat64:
      text = FormatFloat(*value.AsFloat64(), *formats_);
      if (text) Store(name.view(), "Float", *text);
      return text.has_value();
    case VariantKind::kInt16:
    case VariantKind::kInt32:
      Store(name.view(), "Integer", std::to_string(*value.AsInt32()));
      return true;
    case VariantKind::kText:
      WriteText(section, key, *value.AsText());
      return true;
    default:
      return false;
  }
}

void IniStore::WriteText(std::string_view section, std::string_view key, std::string_view text) {
  const JoinedName name(section, key);
  if (!NeedsEscape(text)) {
    Store(name.view(), "String", text);
  } else {
    Store(name.view(), "String", EscapeIniValue(text));
  }
}

void IniStore::Store(std::string_view name, std::string_view type, std::string_view value) {
  uint32_t index = FindEntry(name);
  if (index == kNone) {
    const Span nameSpan{text_.size(), name.size()};
    text_.append(name);
    AppendEntry(nameSpan, Span{}, Span{});
    index = static_cast<uint32_t>(entries_.size() - 1);
  }
  Entry& e = entries_[index];
  Assign(e.name, name);
  Assign(e.type, type);
  Assign(e.value, value);
  CompactIfSparse();
}

std::string IniStore::Serialize() const {
  size_t total = 0;
  for (const Entry& e : entries_) {
    if (e.live) total += e.name.length + e.type.length + e.value.length + 4;
  }
  std::string out;
  out.reserve(total);
  for (const Entry& e : entries_) {
    if (!e.live) continue;
    out.append(View(e.name)).append("=").append(View(e.type)).append(":");
    out.append(View(e.value)).append(kCrLf);
  }
  return out;
}

}  // namespace zv
