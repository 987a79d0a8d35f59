// The settings file in memory: one entry per line, in file order, each a name (section "\"
// key), a type name and a value in its file form. Names compare without regard to letter case
// (a-z outside two-byte characters); with duplicates, the first one counts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/system_formats.h"
#include "settings/variant.h"

namespace zv {

// "%" becomes "%%" and a single byte below 0x20 becomes "%" and two upper-case hex digits, so
// that any text fits on one line. A lead byte never takes a "%" or a control byte after it as
// its second byte (no character of code page 932 has such a second byte), so that every text,
// even one with a lone lead byte, reads back exactly as it was written.
std::string EscapeIniValue(std::string_view text);

// The reverse: "%%" gives "%", "%" and one or two hex digits give that byte. nullopt when a "%"
// is followed by anything else or by nothing. A "%" after a lead byte is an escape too.
std::optional<std::string> UnescapeIniValue(std::string_view text);

class IniStore {
 public:
  // `formats` must outlive the store.
  explicit IniStore(const SystemFormats& formats = DefaultFormats()) : formats_(&formats) {}

  // Replaces every entry by the lines of a settings file's text. A line splits at its first
  // "=" into name and rest, the rest at its first ":" into type and value; a missing separator
  // makes the whole text on its side serve for both parts.
  void Parse(std::string_view fileText);

  // The stored value in its stored type ("Boolean", "Date", "Float", "Integer", anything else
  // as escaped text); `fallback` when the name is not stored or the value does not convert.
  Variant Read(std::string_view section, std::string_view key, const Variant& fallback) const;

  // True when section\key is stored, whatever its value.
  bool Has(std::string_view section, std::string_view key) const;

  // Stores `value` under section\key, keeping an existing entry's place and taking the
  // caller's letter case; empty or null removes the entry. False, changing nothing, for kinds
  // the file cannot hold (currency, byte, a date outside years 1-9999, non-finite floats).
  bool Write(std::string_view section, std::string_view key, const Variant& value);

  // Write of a text value, without wrapping it in a Variant.
  void WriteText(std::string_view section, std::string_view key, std::string_view text);

  // Write of an option that a file need not hold: `value` is written when it differs from
  // `off` or when the key is already stored, so that a user who never sets the option keeps
  // the file as it was.
  void WriteOption(std::string_view section, std::string_view key, const Variant& value,
                   const Variant& off);

  // Every entry as "name=type:value" followed by CR LF.
  std::string Serialize() const;

  size_t size() const { return live_; }
  void Clear();

 private:
  static constexpr uint32_t kNone = 0xFFFFFFFFu;

  struct Span {
    size_t offset = 0, length = 0;
  };
  struct Entry {
    Span name, type, value;
    uint32_t nextSame = kNone;  // next entry of the same name, in file order
    uint32_t lastSame = kNone;  // on the first of a name: the last of its chain
    bool live = true;
    bool first = false;  // the first live entry of its name, the one reads and writes reach
  };

  std::string_view View(Span s) const { return std::string_view(text_).substr(s.offset, s.length); }
  void Assign(Span& span, std::string_view value);
  void AppendEntry(Span name, Span type, Span value);
  // Stores type and value (in file form) under `name`, which is not a view into the store.
  void Store(std::string_view name, std::string_view type, std::string_view value);

  // Index: open addressing over entry numbers + 1 (0 free, kTombstone removed), keyed by the
  // upper-case name, pointing at the first live entry of each name. Each slot keeps part of
  // the name's hash, so that a probe touches an entry only when that part matches.
  static constexpr uint32_t kTombstone = 0xFFFFFFFFu;
  struct Slot {
    uint32_t entry = 0;
    uint32_t hash = 0;
  };
  size_t FindSlot(std::string_view name) const;  // slot of `name`, or npos
  // The first live entry of `name`, or kNone. Tries the entry after the previous hit before
  // the index: callers mostly go through the file in order.
  uint32_t FindEntry(std::string_view name) const;
  void IndexInsert(uint32_t entry);
  void Rehash(size_t capacity);
  void RemoveFirst(size_t slot);
  void CompactIfSparse();

  const SystemFormats* formats_;
  std::string text_;  // every name, type and value text; spans point into it
  std::vector<Entry> entries_;
  std::vector<Slot> slots_;
  size_t live_ = 0;                   // live entries
  size_t usedSlots_ = 0;              // slots holding an entry or a tombstone
  size_t garbage_ = 0;                // bytes of text_ no span uses any more
  mutable uint32_t lastHit_ = kNone;  // only a guess, checked before use
};

}  // namespace zv
