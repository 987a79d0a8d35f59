// Window placement of a toolkit form.
#pragma once

#include <string_view>

#include "settings/placement.h"
#include "ui/forms_win32.h"

namespace zv::win {

// The process-wide settings store (IniRead, IniWrite, SaveIniStore) as the placement uses it.
class IniPlacementStore final : public PlacementStore {
 public:
  Variant Read(std::string_view section, std::string_view key, const Variant& def) override;
  void Write(std::string_view section, std::string_view key, const Variant& value) override;
  bool Save() override;
};

// Stores the form's placement under `section` and writes the settings file.
bool SavePlacement(TForm& form, std::string_view section, PlacementStore& store);
// Stores it without writing the file.
bool StorePlacement(TForm& form, std::string_view section, PlacementStore& store);
// Restores it, keeping the form on the primary screen.
void LoadPlacement(TForm& form, std::string_view section, PlacementStore& store);

// The same with the process-wide settings store. A file that cannot be written is reported by
// the result only; the form closes all the same.
bool SavePlacement(TForm& form, std::string_view section);
bool StorePlacement(TForm& form, std::string_view section);
void LoadPlacement(TForm& form, std::string_view section);
// Whether the process-wide store holds a placement under `section`.
bool HasPlacement(std::string_view section);

}  // namespace zv::win
