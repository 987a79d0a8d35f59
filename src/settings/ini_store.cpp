#include "settings/ini_store.h"

#include <algorithm>

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

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The upper-case form (a-z outside two-byte characters) is never built: hashing and comparing
// fold each byte on the way, following the character walk of each text.
size_t HashUpper(std::string_view s) {
  uint64_t h = 1469598103934665603ull;
  bool trail = false;
  for (char c : s) {
    const char u = trail ? c : UpperAscii(c);
    trail = !trail && IsSjisLeadByte(c);
    h = (h ^ static_cast<unsigned char>(u)) * 1099511628211ull;
  }
  return static_cast<size_t>(h ^ (h >> 29));
}

bool EqualUpper(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  bool trailA = false, trailB = false;
  for (size_t i = 0; i < a.size(); ++i) {
    const char ua = trailA ? a[i] : UpperAscii(a[i]);
    const char ub = trailB ? b[i] : UpperAscii(b[i]);
    if (ua != ub) return false;
    trailA = !trailA && IsSjisLeadByte(a[i]);
    trailB = !trailB && IsSjisLeadByte(b[i]);
  }
  return true;
}

size_t Pow2AtLeast(size_t n) {
  size_t p = 16;
  while (p < n) p <<= 1;
  return p;
}

std::string JoinName(std::string_view section, std::string_view key) {
  std::string name;
  name.reserve(section.size() + 1 + key.size());
  name.append(section).append("\\").append(key);
  return name;
}

}  // namespace

std::string EscapeIniValue(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (IsSjisLeadByte(c) && i + 1 < text.size() && !IsControl(text[i + 1])) {
      out.append(text.substr(i, 2));
      i += 2;
    } else if (c == '%') {
      out.append("%%");
      ++i;
    } else if (IsControl(c)) {
      const auto b = static_cast<unsigned char>(c);
      out.push_back('%');
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 0xF]);
      ++i;
    } else {
      out.push_back(c);
      ++i;
    }
  }
  return out;
}

std::optional<std::string> UnescapeIniValue(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const size_t n = text.size();
  for (size_t i = 0; i < n;) {
    const char c = text[i];
    if (IsSjisLeadByte(c) && i + 1 < n) {
      out.append(text.substr(i, 2));
      i += 2;
      continue;
    }
    if (c != '%') {
      out.push_back(c);
      ++i;
      continue;
    }
    if (i + 1 < n && text[i + 1] == '%') {
      out.push_back('%');
      i += 2;
      continue;
    }
    // Up to two characters after the "%", each a hex digit; fewer only at the end.
    size_t j = i + 1;
    int value = 0;
    int digits = 0;
    for (; digits < 2 && j < n; ++digits, ++j) {
      const int h = (IsSjisLeadByte(text[j]) && j + 1 < n) ? -1 : HexValue(text[j]);
      if (h < 0) return std::nullopt;
      value = value * 16 + h;
    }
    if (digits == 0) return std::nullopt;
    const char decoded = static_cast<char>(value);
    out.push_back(decoded);
    i = j;
    // The decoded byte is now the current character: as a lead byte it takes the next byte.
    if (IsSjisLeadByte(decoded) && i < n) out.push_back(text[i++]);
  }
  return out;
}

void IniStore::Clear() {
  text_.clear();
  entries_.clear();
  slots_.clear();
  live_ = usedSlots_ = garbage_ = 0;
}

void IniStore::Parse(std::string_view fileText) {
  Clear();
  text_.assign(UntilNul(fileText));
  const size_t lines = static_cast<size_t>(std::count(text_.begin(), text_.end(), '\n')) + 1;
  entries_.reserve(lines);
  Rehash(Pow2AtLeast(lines * 2));
  ForEachLine(text_, [&](std::string_view line) {
    const size_t base = static_cast<size_t>(line.data() - text_.data());
    // First "=" at a character start, then the first ":" after it.
    size_t eq = std::string_view::npos, colon = std::string_view::npos;
    for (size_t pos = 0; pos < line.size(); pos += SjisCharLength(line, pos)) {
      if (eq == std::string_view::npos) {
        if (line[pos] == '=') eq = pos;
      } else if (line[pos] == ':') {
        colon = pos;
        break;
      }
    }
    const Span name{base, eq == std::string_view::npos ? line.size() : eq};
    const size_t restStart = eq == std::string_view::npos ? 0 : eq + 1;
    const size_t restEnd = line.size();
    Span type, value;
    if (colon == std::string_view::npos) {
      type = value = Span{base + restStart, restEnd - restStart};
    } else {
      type = Span{base + restStart, colon - restStart};
      value = Span{base + colon + 1, restEnd - colon - 1};
    }
    AppendEntry(name, type, value);
  });
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
  for (size_t i = HashUpper(name) & mask;; i = (i + 1) & mask) {
    const uint32_t v = slots_[i];
    if (v == 0) return std::string_view::npos;
    if (v != kTombstone && EqualUpper(View(entries_[v - 1].name), name)) return i;
  }
}

void IniStore::IndexInsert(uint32_t entry) {
  if ((usedSlots_ + 1) * 4 > slots_.size() * 3) {
    Rehash(Pow2AtLeast((live_ + 1) * 2));  // re-indexes every live entry, this one included
    return;
  }
  Entry& e = entries_[entry];
  e.nextSame = kNone;
  e.lastSame = entry;
  const std::string_view name = View(e.name);
  const size_t mask = slots_.size() - 1;
  size_t freeSlot = std::string_view::npos;
  for (size_t i = HashUpper(name) & mask;; i = (i + 1) & mask) {
    const uint32_t v = slots_[i];
    if (v == kTombstone) {
      if (freeSlot == std::string_view::npos) freeSlot = i;
      continue;
    }
    if (v == 0) {
      if (freeSlot == std::string_view::npos) {
        freeSlot = i;
        ++usedSlots_;
      }
      slots_[freeSlot] = entry + 1;
      return;
    }
    Entry& first = entries_[v - 1];
    if (EqualUpper(View(first.name), name)) {
      entries_[first.lastSame].nextSame = entry;
      first.lastSame = entry;
      return;
    }
  }
}

void IniStore::Rehash(size_t capacity) {
  slots_.assign(capacity, 0);
  usedSlots_ = 0;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].live) IndexInsert(static_cast<uint32_t>(i));
  }
}

void IniStore::RemoveFirst(size_t slot) {
  const uint32_t first = slots_[slot] - 1;
  Entry& e = entries_[first];
  e.live = false;
  --live_;
  garbage_ += e.name.length + e.type.length + e.value.length;
  if (e.nextSame != kNone) {
    entries_[e.nextSame].lastSame = e.lastSame;
    slots_[slot] = e.nextSame + 1;
  } else {
    slots_[slot] = kTombstone;
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

Variant IniStore::Read(std::string_view section, std::string_view key,
                       const Variant& fallback) const {
  const size_t slot = FindSlot(JoinName(section, key));
  if (slot == std::string_view::npos) return fallback;
  const Entry& e = entries_[slots_[slot] - 1];
  const std::string_view type = View(e.type);
  const std::string_view value = View(e.value);
  if (type == "Boolean") return Variant::Boolean(value == kTrue);
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
  const std::string name = JoinName(section, key);
  const size_t slot = FindSlot(name);
  if (value.IsEmptyOrNull()) {
    if (slot != std::string_view::npos) RemoveFirst(slot);
    return true;
  }
  std::string_view type;
  std::string text;
  switch (value.kind()) {
    case VariantKind::kBoolean:
      type = "Boolean";
      text = FlagText(*value.AsBoolean());
      break;
    case VariantKind::kDateTime: {
      auto formatted = FormatDateTime(*value.AsDateTime(), *formats_);
      if (!formatted) return false;
      type = "Date";
      text = std::move(*formatted);
      break;
    }
    case VariantKind::kFloat32:
    case VariantKind::kFloat64: {
      auto formatted = FormatFloat(*value.AsFloat64(), *formats_);
      if (!formatted) return false;
      type = "Float";
      text = std::move(*formatted);
      break;
    }
    case VariantKind::kInt16:
    case VariantKind::kInt32:
      type = "Integer";
      text = std::to_string(*value.AsInt32());
      break;
    case VariantKind::kText:
      type = "String";
      text = EscapeIniValue(*value.AsText());
      break;
    default:
      return false;
  }
  uint32_t index;
  if (slot == std::string_view::npos) {
    const Span nameSpan{text_.size(), name.size()};
    text_.append(name);
    AppendEntry(nameSpan, Span{}, Span{});
    index = static_cast<uint32_t>(entries_.size() - 1);
  } else {
    index = slots_[slot] - 1;
  }
  Entry& e = entries_[index];
  Assign(e.name, name);
  Assign(e.type, type);
  Assign(e.value, text);
  CompactIfSparse();
  return true;
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
