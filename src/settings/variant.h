// The tagged value that the settings store and the registry helper take and give. The kind of a
// default decides how stored data is read; the kind of a value decides how it is stored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace zv {

enum class VariantKind {
  kEmpty,
  kNull,
  kInt16,
  kInt32,
  kFloat32,
  kFloat64,
  kCurrency,
  kDateTime,
  kBoolean,
  kByte,
  kText,
};

// A currency amount: a count of ten-thousandths.
struct Currency {
  int64_t tenThousandths = 0;
  friend bool operator==(const Currency&, const Currency&) = default;
};

// A date-time as days since 1899-12-30, the fraction being the time of day.
struct DateTime {
  double days = 0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

class Variant {
 public:
  Variant() = default;  // empty
  static Variant Null() { return Variant(NullTag{}); }
  static Variant Int16(int16_t v) { return Variant(v); }
  static Variant Int32(int32_t v) { return Variant(v); }
  static Variant Float32(float v) { return Variant(v); }
  static Variant Float64(double v) { return Variant(v); }
  static Variant Money(Currency v) { return Variant(v); }
  static Variant Date(DateTime v) { return Variant(v); }
  static Variant Boolean(bool v) { return Variant(v); }
  static Variant Byte(uint8_t v) { return Variant(v); }
  static Variant Text(std::string v) { return Variant(std::move(v)); }

  VariantKind kind() const { return static_cast<VariantKind>(value_.index()); }
  bool IsEmptyOrNull() const {
    return kind() == VariantKind::kEmpty || kind() == VariantKind::kNull;
  }
  bool IsInteger() const { return kind() == VariantKind::kInt16 || kind() == VariantKind::kInt32; }
  bool IsFloat() const {
    return kind() == VariantKind::kFloat32 || kind() == VariantKind::kFloat64;
  }

  // Typed access; nullopt when the kind differs (integers widen, floats widen).
  std::optional<int32_t> AsInt32() const;
  std::optional<double> AsFloat64() const;
  std::optional<bool> AsBoolean() const;
  std::optional<Currency> AsCurrency() const;
  std::optional<DateTime> AsDateTime() const;
  std::optional<uint8_t> AsByte() const;
  const std::string* AsText() const { return std::get_if<std::string>(&value_); }
  std::string* AsText() { return std::get_if<std::string>(&value_); }

  // Conversions for callers that take a stored value of any kind into the type they need.
  // Text converts by parsing (the whole text, decimal); a value that does not convert gives
  // `fallback`.
  int32_t ToInt32(int32_t fallback) const;
  bool ToBoolean(bool fallback) const;
  std::string ToText() const;

  friend bool operator==(const Variant&, const Variant&) = default;

 private:
  struct NullTag {
    friend bool operator==(const NullTag&, const NullTag&) = default;
  };
  using Storage = std::variant<std::monostate, NullTag, int16_t, int32_t, float, double, Currency,
                               DateTime, bool, uint8_t, std::string>;
  template <typename T>
  explicit Variant(T v) : value_(std::move(v)) {}

  Storage value_;
};

// Parses a whole text as a signed decimal 32-bit integer (optional sign, digits, nothing else).
std::optional<int32_t> ParseInt32(std::string_view text);

}  // namespace zv
