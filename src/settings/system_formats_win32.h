// The user's date, time and decimal conventions from the system's locale settings.
#pragma once

#include "settings/system_formats.h"

namespace zv::win {

class Win32SystemFormats final : public SystemFormats {
 public:
  std::string DateSeparator() const override;
  std::string TimeSeparator() const override;
  std::string DecimalSeparator() const override;
  // The stored form first, so that what the store wrote always reads back; then the system's
  // own parser for other forms.
  std::optional<DateTime> ParseDateTime(std::string_view text) const override;
};

// One instance for the process.
const SystemFormats& SystemFormatsOfUser();

}  // namespace zv::win
