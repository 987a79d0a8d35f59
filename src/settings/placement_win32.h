// Window placement of a toolkit form.
#pragma once

#include <string_view>

#include "settings/placement.h"
#include "ui/forms_win32.h"

namespace zv::win {

// Stores the form's placement under `section` and writes the settings file.
bool SavePlacement(ui::win::TForm& form, std::string_view section, PlacementStore& store);
// Restores it, keeping the form on the primary screen.
void LoadPlacement(ui::win::TForm& form, std::string_view section, PlacementStore& store);

}  // namespace zv::win
