#include "settings/variant.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "text/lines.h"

namespace zv {

std::optional<int32_t> Variant::AsInt32() const {
  if (auto p = std::get_if<int32_t>(&value_)) return *p;
  if (auto p = std::get_if<int16_t>(&value_)) return *p;
  return std::nullopt;
}

std::optional<double> Variant::AsFloat64() const {
  if (auto p = std::get_if<double>(&value_)) return *p;
  if (auto p = std::get_if<float>(&value_)) return *p;
  return std::nullopt;
}

std::optional<bool> Variant::AsBoolean() const {
  if (auto p = std::get_if<bool>(&value_)) return *p;
  return std::nullopt;
}

std::optional<Currency> Variant::AsCurrency() const {
  if (auto p = std::get_if<Currency>(&value_)) return *p;
  return std::nullopt;
}

std::optional<DateTime> Variant::AsDateTime() const {
  if (auto p = std::get_if<DateTime>(&value_)) return *p;
  return std::nullopt;
}

std::optional<uint8_t> Variant::AsByte() const {
  if (auto p = std::get_if<uint8_t>(&value_)) return *p;
  return std::nullopt;
}

std::optional<int32_t> ParseInt32(std::string_view text) {
  // One optional sign, then digits only.
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  if (text.empty()) return std::nullopt;
  int32_t v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return v;
}

int32_t Variant::ToInt32(int32_t fallback) const {
  if (auto v = AsInt32()) return *v;
  if (auto v = AsByte()) return *v;
  if (auto v = AsBoolean()) return *v ? -1 : 0;
  if (auto v = AsFloat64()) {
    if (std::isfinite(*v) && *v >= std::numeric_limits<int32_t>::min() &&
        *v <= std::numeric_limits<int32_t>::max()) {
      return static_cast<int32_t>(std::nearbyint(*v));
    }
    return fallback;
  }
  if (auto t = AsText()) return ParseInt32(*t).value_or(fallback);
  return fallback;
}

bool Variant::ToBoolean(bool fallback) const {
  if (auto v = AsBoolean()) return *v;
  if (auto v = AsInt32()) return *v != 0;
  if (auto v = AsByte()) return *v != 0;
  if (auto t = AsText()) {
    if (IsFlagOn(*t)) return true;
    if (*t == kFalse) return false;
  }
  return fallback;
}

std::string Variant::ToText() const {
  if (auto t = AsText()) return *t;
  if (auto v = AsBoolean()) return std::string(FlagText(*v));
  if (auto v = AsInt32()) return std::to_string(*v);
  if (auto v = AsByte()) return std::to_string(*v);
  if (auto v = AsFloat64()) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.15g", *v);
    return buf;
  }
  return {};
}

}  // namespace zv
