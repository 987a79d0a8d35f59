// The settings store: parsing a file, typed writes and reads, removal, escaping. Input: a
// settings file's text, then a list of operations on the store. The store is compared after
// every operation with a plain list of entries that follows the rules step by step, and every
// value written must read back as written.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "reference.h"
#include "settings/ini_store.h"
#include "settings/system_formats.h"
#include "settings/variant.h"

namespace zv::fuzz {
namespace {

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20; }

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A lead byte forms a character with the next byte unless that is a "%" or a control byte, so
// that escapes are never hidden and every text comes back as it was stored.
std::string RefEscape(std::string_view t) {
  std::string out;
  for (size_t i = 0; i < t.size(); ++i) {
    const char c = t[i];
    if (RefLead(c) && i + 1 < t.size() && t[i + 1] != '%' && !IsControl(t[i + 1])) {
      out += t.substr(i, 2);
      ++i;
    } else if (c == '%') {
      out += "%%";
    } else if (IsControl(c)) {
      static const char kHex[] = "0123456789ABCDEF";
      out += '%';
      out += kHex[static_cast<unsigned char>(c) >> 4];
      out += kHex[c & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<std::string> RefUnescape(std::string_view t) {
  std::string out;
  for (size_t i = 0; i < t.size();) {
    const char c = t[i];
    if (RefLead(c) && i + 1 < t.size() && t[i + 1] != '%') {
      out += t.substr(i, 2);
      i += 2;
    } else if (c != '%') {
      out += c;
      ++i;
    } else if (i + 1 < t.size() && t[i + 1] == '%') {
      out += '%';
      i += 2;
    } else {
      int value = 0, digits = 0;
      for (++i; digits < 2 && i < t.size(); ++digits, ++i) {
        const int h = Hex(t[i]);
        if (h < 0) return std::nullopt;
        value = value * 16 + h;
      }
      if (digits == 0) return std::nullopt;
      const char decoded = static_cast<char>(value);
      out += decoded;
      if (RefLead(decoded) && i < t.size() && t[i] != '%') out += t[i++];
    }
  }
  return out;
}

struct RefEntry {
  std::string name, type, value;
};

// Byte position of the first `sep` at a character start of `line`, where a lead byte never
// takes "=" or ":" as its second byte; npos when there is none.
size_t FindSeparator(std::string_view line, char sep) {
  for (size_t i = 0; i < line.size();) {
    if (line[i] == sep) return i;
    const bool pair = RefLead(line[i]) && i + 1 < line.size() && line[i + 1] != '=' &&
                      line[i + 1] != ':';
    i += pair ? 2 : 1;
  }
  return std::string_view::npos;
}

// The file's lines, each split into the name before the first "=", the type before the first
// ":" after it and the value; a missing separator gives the whole text to both sides.
std::vector<RefEntry> RefParse(std::string_view file) {
  std::vector<RefEntry> entries;
  for (const std::string& line : RefSplit(file)) {
    const size_t a = FindSeparator(line, '=');
    const std::string name = a == std::string::npos ? line : line.substr(0, a);
    const std::string rest = a == std::string::npos ? line : line.substr(a + 1);
    const size_t b = FindSeparator(rest, ':');
    entries.push_back({name, b == std::string::npos ? rest : rest.substr(0, b),
                       b == std::string::npos ? rest : rest.substr(b + 1)});
  }
  return entries;
}

std::string RefSerialize(const std::vector<RefEntry>& entries) {
  std::string out;
  for (const RefEntry& e : entries) out += e.name + "=" + e.type + ":" + e.value + "\r\n";
  return out;
}

// RefUpper(a) == RefUpper(b), byte by byte without building either (the reference compares
// names at every operation).
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  auto upper = [](std::string_view s, size_t i, size_t& next) {
    char c = s[i];
    if (i == next) {
      const bool pair = RefLead(c) && i + 1 < s.size();
      next = i + (pair ? 2 : 1);
      if (!pair && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    return c;
  };
  size_t nextA = 0, nextB = 0;  // the next character start in each
  for (size_t i = 0; i < a.size(); ++i) {
    if (upper(a, i, nextA) != upper(b, i, nextB)) return false;
  }
  return true;
}

RefEntry* Find(std::vector<RefEntry>& entries, std::string_view name) {
  for (RefEntry& e : entries) {
    if (SameName(e.name, name)) return &e;
  }
  return nullptr;
}

Variant RefRead(std::vector<RefEntry>& entries, std::string_view name, const Variant& fallback) {
  const RefEntry* e = Find(entries, name);
  if (!e) return fallback;
  if (e->type == "Boolean") return Variant::Boolean(e->value == "True");
  if (e->type == "Date") {
    const auto v = DefaultFormats().ParseDateTime(e->value);
    return v ? Variant::Date(*v) : fallback;
  }
  if (e->type == "Float") {
    const auto v = ParseFloat(e->value, DefaultFormats());
    return v ? Variant::Float64(*v) : fallback;
  }
  if (e->type == "Integer") {
    const auto v = ParseInt32(e->value);
    return v ? Variant::Int32(*v) : fallback;
  }
  auto v = RefUnescape(e->value);
  return v ? Variant::Text(std::move(*v)) : fallback;
}

// Stores `type` and `value` under `name`: an entry keeps its place and takes the new spelling.
void RefStore(std::vector<RefEntry>& entries, const std::string& name, std::string type,
              std::string value) {
  RefEntry* e = Find(entries, name);
  if (!e) {
    entries.push_back({name, "", ""});
    e = &entries.back();
  }
  *e = {name, std::move(type), std::move(value)};
}

double DoubleFrom(Input& in) {
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits = (bits << 8) | in.Byte();
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

int32_t IntFrom(Input& in) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = (v << 8) | in.Byte();
  return static_cast<int32_t>(v);
}

struct Name {
  std::string section, key;
  std::string joined() const { return section + "\\" + key; }
};

void CheckEscaping(std::string_view text) {
  const std::string escaped = EscapeIniValue(text);
  ZV_FUZZ_CHECK(escaped == RefEscape(text), escaped);
  for (char c : escaped) ZV_FUZZ_CHECK(!IsControl(c), escaped);  // stays on one line
  ZV_FUZZ_CHECK(UnescapeIniValue(escaped) == std::optional<std::string>(text), escaped);
  ZV_FUZZ_CHECK(UnescapeIniValue(text) == RefUnescape(text), text);
}

}  // namespace
}  // namespace zv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zv;
  using namespace zv::fuzz;
  Input in(data, size);
  const std::string_view file = in.Text();

  IniStore store;
  store.Parse(file);
  std::vector<RefEntry> ref = RefParse(file);
  ZV_FUZZ_CHECK(store.Serialize() == RefSerialize(ref), file);
  CheckEscaping(file);
  {
    // Once written, the file reads back into the same entries: it never grows by saving.
    const std::string saved = store.Serialize();
    IniStore again;
    again.Parse(saved);
    ZV_FUZZ_CHECK(again.Serialize() == saved, saved);
  }

  // Names to work on: spellings that differ only in letter case, and the file's own names.
  std::vector<Name> names = {{"Zorvek\\Pattern0000", "Zorvek"},
                             {"zorvek\\pattern0000", "ZORVEK"},
                             {"S", "K"},
                             {"s", "k"}};
  for (size_t i = 0; i < ref.size() && i < 8; ++i) {
    const size_t slash = ref[i].name.rfind('\\');
    if (slash != std::string::npos) {
      names.push_back({ref[i].name.substr(0, slash), ref[i].name.substr(slash + 1)});
    }
  }

  for (int step = 0; step < 64 && !in.empty(); ++step) {
    const uint8_t op = in.Byte();
    const uint8_t pick = in.Byte();
    if (pick >= 0xF0) {  // a new name from the input
      const std::string_view section = in.Text();
      names.push_back({std::string(section), std::string(in.Text())});
    }
    const Name& n = names[pick % names.size()];
    const std::string joined = n.joined();
    Variant written;
    bool stored = true;
    switch (op % 9) {
      case 0: {
        const std::string text(in.Text());
        written = Variant::Text(text);
        store.Write(n.section, n.key, written);
        RefStore(ref, joined, "String", RefEscape(text));
        CheckEscaping(text);
        break;
      }
      case 1: {
        const int32_t v = IntFrom(in);
        written = (op & 0x80) ? Variant::Int16(static_cast<int16_t>(v)) : Variant::Int32(v);
        store.Write(n.section, n.key, written);
        RefStore(ref, joined, "Integer", std::to_string(*written.AsInt32()));
        written = Variant::Int32(*written.AsInt32());
        break;
      }
      case 2: {
        written = Variant::Boolean(op & 0x80);
        store.Write(n.section, n.key, written);
        RefStore(ref, joined, "Boolean", (op & 0x80) ? "True" : "False");
        break;
      }
      case 3:
      case 4: {
        const double d = DoubleFrom(in);
        const Variant v = (op % 9 == 3) ? Variant::Float64(d) : Variant::Date(DateTime{d});
        const auto form = (op % 9 == 3) ? FormatFloat(d, DefaultFormats())
                                        : FormatDateTime(DateTime{d}, DefaultFormats());
        stored = store.Write(n.section, n.key, v);
        ZV_FUZZ_CHECK(stored == form.has_value(), joined);
        if (stored) RefStore(ref, joined, (op % 9 == 3) ? "Float" : "Date", *form);
        written = v;
        break;
      }
      case 5: {
        // Removal, then a read that must give the default... unless a later entry of the same
        // name (only possible in a file edited by hand) now answers.
        store.Write(n.section, n.key, (op & 0x80) ? Variant::Null() : Variant());
        for (size_t i = 0; i < ref.size(); ++i) {
          if (SameName(ref[i].name, joined)) {
            ref.erase(ref.begin() + static_cast<std::ptrdiff_t>(i));
            break;
          }
        }
        stored = false;
        break;
      }
      case 6: {
        // Kinds the file cannot hold change nothing.
        ZV_FUZZ_CHECK(!store.Write(n.section, n.key, Variant::Byte(op)), joined);
        ZV_FUZZ_CHECK(!store.Write(n.section, n.key, Variant::Money(Currency{op})), joined);
        stored = false;
        break;
      }
      case 7: {
        // The same store parsed again from its own file.
        const std::string saved = store.Serialize();
        store.Parse(saved);
        ref = RefParse(saved);
        stored = false;
        break;
      }
      default:
        stored = false;
        break;
    }
    ZV_FUZZ_CHECK(store.Serialize() == RefSerialize(ref), joined);

    const Variant fallback = Variant::Text("fallback");
    const Variant got = store.Read(n.section, n.key, fallback);
    ZV_FUZZ_CHECK(got == RefRead(ref, joined, fallback), joined);
    if (stored) {
      // A written value reads back: exactly, or for numbers and dates as the same stored form.
      if (written.IsFloat()) {
        ZV_FUZZ_CHECK(got.IsFloat(), joined);
        ZV_FUZZ_CHECK(FormatFloat(*got.AsFloat64(), DefaultFormats()) ==
                          FormatFloat(*written.AsFloat64(), DefaultFormats()),
                      joined);
      } else if (written.kind() == VariantKind::kDateTime) {
        ZV_FUZZ_CHECK(got.kind() == VariantKind::kDateTime, joined);
        ZV_FUZZ_CHECK(FormatDateTime(*got.AsDateTime(), DefaultFormats()) ==
                          FormatDateTime(*written.AsDateTime(), DefaultFormats()),
                      joined);
      } else {
        ZV_FUZZ_CHECK(got == written, joined);
      }
    }
  }
  return 0;
}
