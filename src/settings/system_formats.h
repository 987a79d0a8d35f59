// The system's conventions for dates, times and decimal numbers in stored texts, and the
// conversions between those texts and typed values. The platform supplies the separators and
// the date parser; without one, "/", ":" and "." apply.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/variant.h"

namespace zv {

class SystemFormats {
 public:
  virtual ~SystemFormats() = default;
  virtual std::string DateSeparator() const { return "/"; }
  virtual std::string TimeSeparator() const { return ":"; }
  virtual std::string DecimalSeparator() const { return "."; }
  // The system's date-and-time parser. This one reads the stored form and its shortenings
  // (see ParseDateTimeWith) with this object's separators.
  virtual std::optional<DateTime> ParseDateTime(std::string_view text) const;
};

// The conventions when the platform offers none.
const SystemFormats& DefaultFormats();

// A calendar date and time of day; valid for years 1 to 9999.
struct CivilTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  friend bool operator==(const CivilTime&, const CivilTime&) = default;
};

// Days since 1899-12-30 with the time of day as the fraction's magnitude (so -1.25 is
// 1899-12-29 06:00). Seconds are rounded; nullopt outside years 1 to 9999 or when not finite.
std::optional<CivilTime> ToCivil(DateTime value);
std::optional<DateTime> FromCivil(const CivilTime& t);

// "yyyy/mm/dd hh:nn:ss" with the given separators.
std::optional<std::string> FormatDateTime(DateTime value, const SystemFormats& formats);

// Reads "y/m/d", "y/m/d h:n", "y/m/d h:n:s", "h:n" or "h:n:s" (one or more blanks between date
// and time; years of up to four digits, the rest of up to two).
std::optional<DateTime> ParseDateTimeWith(std::string_view text, std::string_view dateSeparator,
                                          std::string_view timeSeparator);

// The shortest general decimal form with up to 15 significant digits, with the system's
// decimal separator; nullopt for infinities and NaN.
std::optional<std::string> FormatFloat(double value, const SystemFormats& formats);

// A decimal number: optional sign, digits with one optional decimal separator, optional
// exponent. Nothing else, no blanks.
std::optional<double> ParseFloat(std::string_view text, const SystemFormats& formats);

// A currency amount: optional sign, digits, optional decimal separator and digits; rounded to
// four decimals, half away from zero.
std::optional<Currency> ParseCurrency(std::string_view text, const SystemFormats& formats);

}  // namespace zv
