#include "settings/placement_win32.h"

namespace zv::win {

bool SavePlacement(ui::win::TForm& form, std::string_view section, PlacementStore& store) {
  ui::win::FormPlacement placement(form);
  return zv::SavePlacement(placement, section, store);
}

void LoadPlacement(ui::win::TForm& form, std::string_view section, PlacementStore& store) {
  ui::win::FormPlacement placement(form);
  const ui::Size screen = ui::win::ScreenSize();
  zv::LoadPlacement(placement, section, store, ScreenSize{screen.width, screen.height});
}

}  // namespace zv::win
