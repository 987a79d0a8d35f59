#include "settings/system_formats.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace zv {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

// The day number of 1899-12-30, where date-time values count from.
constexpr int64_t kEpoch = -25569;
constexpr int kSecondsPerDay = 86400;

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// Reads 1 to `maxDigits` decimal digits at `pos`.
std::optional<int> ReadNumber(std::string_view text, size_t& pos, size_t maxDigits) {
  int value = 0;
  size_t n = 0;
  while (pos < text.size() && n < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
    value = value * 10 + (text[pos] - '0');
    ++pos;
    ++n;
  }
  if (n == 0 || (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')) return std::nullopt;
  return value;
}

bool ReadText(std::string_view text, size_t& pos, std::string_view expected) {
  if (text.substr(pos, expected.size()) != expected) return false;
  pos += expected.size();
  return true;
}

bool ReadTime(std::string_view text, size_t& pos, std::string_view sep, CivilTime& t) {
  auto h = ReadNumber(text, pos, 2);
  if (!h || !ReadText(text, pos, sep)) return false;
  auto n = ReadNumber(text, pos, 2);
  if (!n) return false;
  t.hour = *h;
  t.minute = *n;
  t.second = 0;
  if (pos < text.size()) {
    if (!ReadText(text, pos, sep)) return false;
    auto s = ReadNumber(text, pos, 2);
    if (!s) return false;
    t.second = *s;
  }
  return pos == text.size();
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::optional<DateTime> SystemFormats::ParseDateTime(std::string_view text) const {
  return ParseDateTimeWith(text, DateSeparator(), TimeSeparator());
}

const SystemFormats& DefaultFormats() {
  static const SystemFormats formats;
  return formats;
}

std::optional<CivilTime> ToCivil(DateTime value) {
  const double v = value.days;
  // 0001-01-01 and 9999-12-31 as day numbers, with a day's margin for rounding.
  if (!std::isfinite(v) || v < -693594.0 || v > 2958466.0) return std::nullopt;
  int64_t day = static_cast<int64_t>(std::trunc(v));
  int64_t seconds = std::llround(std::fabs(v - static_cast<double>(day)) * kSecondsPerDay);
  if (seconds >= kSecondsPerDay) {
    seconds -= kSecondsPerDay;
    ++day;
  }
  CivilTime t;
  CivilFromDays(day + kEpoch, t.year, t.month, t.day);
  if (t.year < 1 || t.year > 9999) return std::nullopt;
  t.hour = static_cast<int>(seconds / 3600);
  t.minute = static_cast<int>(seconds / 60 % 60);
  t.second = static_cast<int>(seconds % 60);
  return t;
}

std::optional<DateTime> FromCivil(const CivilTime& t) {
  if (t.year < 1 || t.year > 9999 || t.month < 1 || t.month > 12 || t.day < 1 ||
      t.day > DaysInMonth(t.year, t.month) || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
      t.minute > 59 || t.second < 0 || t.second > 59) {
    return std::nullopt;
  }
  const int64_t day = DaysFromCivil(t.year, t.month, t.day) - kEpoch;
  const double fraction =
      static_cast<double>(t.hour * 3600 + t.minute * 60 + t.second) / kSecondsPerDay;
  const double d = static_cast<double>(day);
  return DateTime{day >= 0 ? d + fraction : d - fraction};
}

std::optional<std::string> FormatDateTime(DateTime value, const SystemFormats& formats) {
  const auto t = ToCivil(value);
  if (!t) return std::nullopt;
  const std::string ds = formats.DateSeparator();
  const std::string ts = formats.TimeSeparator();
  auto two = [](int v) {
    return std::string{static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
  };
  std::string out;
  out.reserve(19 + 2 * ds.size() + 2 * ts.size());
  out += two(t->year / 100);
  out += two(t->year % 100);
  out += ds + two(t->month) + ds + two(t->day) + ' ';
  out += two(t->hour) + ts + two(t->minute) + ts + two(t->second);
  return out;
}

std::optional<DateTime> ParseDateTimeWith(std::string_view text, std::string_view dateSeparator,
                                          std::string_view timeSeparator) {
  if (dateSeparator.empty()) dateSeparator = "/";
  if (timeSeparator.empty()) timeSeparator = ":";
  CivilTime t{1899, 12, 30, 0, 0, 0};
  size_t pos = 0;
  auto first = ReadNumber(text, pos, 4);
  if (!first) return std::nullopt;
  if (text.substr(pos, dateSeparator.size()) == dateSeparator) {
    pos += dateSeparator.size();
    auto month = ReadNumber(text, pos, 2);
    if (!month || !ReadText(text, pos, dateSeparator)) return std::nullopt;
    auto day = ReadNumber(text, pos, 2);
    if (!day) return std::nullopt;
    t.year = *first;
    t.month = *month;
    t.day = *day;
    if (pos < text.size()) {
      const size_t blanks = pos;
      while (pos < text.size() && text[pos] == ' ') ++pos;
      if (pos == blanks || !ReadTime(text, pos, timeSeparator, t)) return std::nullopt;
    }
  } else {
    pos = 0;
    if (!ReadTime(text, pos, timeSeparator, t)) return std::nullopt;
  }
  return FromCivil(t);
}

std::optional<std::string> FormatFloat(double value, const SystemFormats& formats) {
  if (!std::isfinite(value)) return std::nullopt;
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
  if (ec != std::errc()) return std::nullopt;
  const std::string sep = formats.DecimalSeparator();
  std::string out;
  out.reserve(static_cast<size_t>(end - buf) + sep.size());
  for (const char* p = buf; p != end; ++p) {
    if (*p == '.') {
      out += sep.empty() ? "." : sep;
    } else {
      out += *p;
    }
  }
  return out;
}

std::optional<double> ParseFloat(std::string_view text, const SystemFormats& formats) {
  std::string sep = formats.DecimalSeparator();
  if (sep.empty()) sep = ".";
  // Rewritten into the one form the C++ parser takes: no '+', '.' as the separator.
  std::string plain;
  plain.reserve(text.size());
  size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    if (text[pos] == '-') plain += '-';
    ++pos;
  }
  size_t digits = 0;
  bool point = false;
  while (pos < text.size()) {
    if (IsDigit(text[pos])) {
      plain += text[pos++];
      ++digits;
    } else if (!point && text.substr(pos, sep.size()) == sep) {
      plain += '.';
      pos += sep.size();
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return std::nullopt;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    plain += 'e';
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) plain += text[pos++];
    size_t expDigits = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
      plain += text[pos++];
      ++expDigits;
    }
    if (expDigits == 0) return std::nullopt;
  }
  if (pos != text.size()) return std::nullopt;
  double v = 0;
  auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), v);
  if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(v)) {
    return std::nullopt;
  }
  return v;
}

std::optional<Currency> ParseCurrency(std::string_view text, const SystemFormats& formats) {
  std::string sep = formats.DecimalSeparator();
  if (sep.empty()) sep = ".";
  size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  // The magnitude in ten-thousandths; the largest allowed is 2^63 (for a negative amount).
  constexpr uint64_t kWholeLimit = 922337203685477;
  uint64_t whole = 0;
  size_t digits = 0;
  while (pos < text.size() && IsDigit(text[pos])) {
    whole = whole * 10 + static_cast<uint64_t>(text[pos++] - '0');
    if (whole > kWholeLimit + 1) return std::nullopt;
    ++digits;
  }
  uint64_t fraction = 0;
  int fractionDigits = 0;
  bool roundUp = false;
  if (text.substr(pos, sep.size()) == sep) {
    pos += sep.size();
    while (pos < text.size() && IsDigit(text[pos])) {
      const int d = text[pos++] - '0';
      if (fractionDigits < 4) {
        fraction = fraction * 10 + static_cast<uint64_t>(d);
      } else if (fractionDigits == 4) {
        roundUp = d >= 5;
      }
      ++fractionDigits;
      ++digits;
    }
  }
  if (digits == 0 || pos != text.size()) return std::nullopt;
  for (int i = fractionDigits; i < 4; ++i) fraction *= 10;
  if (whole > kWholeLimit + 1) return std::nullopt;
  const uint64_t magnitude = whole * 10000 + fraction + (roundUp ? 1 : 0);
  const uint64_t limit =
      static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) + (negative ? 1u : 0u);
  if (magnitude > limit) return std::nullopt;
  if (negative) {
    return Currency{magnitude == limit ? std::numeric_limits<int64_t>::min()
                                       : -static_cast<int64_t>(magnitude)};
  }
  return Currency{static_cast<int64_t>(magnitude)};
}

}  // namespace zv
