#include "ui/placement_win32.h"

#include "settings/ini_file.h"

namespace zv::win {

Variant IniPlacementStore::Read(std::string_view section, std::string_view key,
                                const Variant& def) {
  return IniRead(section, key, def);
}

void IniPlacementStore::Write(std::string_view section, std::string_view key,
                              const Variant& value) {
  IniWrite(section, key, value);
}

bool IniPlacementStore::Save() {
  return SaveIniStore();
}

bool SavePlacement(TForm& form, std::string_view section) {
  IniPlacementStore store;
  return SavePlacement(form, section, store);
}

bool StorePlacement(TForm& form, std::string_view section) {
  IniPlacementStore store;
  return StorePlacement(form, section, store);
}

void LoadPlacement(TForm& form, std::string_view section) {
  IniPlacementStore store;
  LoadPlacement(form, section, store);
}

bool HasPlacement(std::string_view section) {
  const IniStore* store = ActiveIniStore();
  return store && store->Has(section, "Left");
}

bool SavePlacement(TForm& form, std::string_view section, PlacementStore& store) {
  FormPlacement placement(form);
  return zv::SavePlacement(placement, section, store);
}

bool StorePlacement(TForm& form, std::string_view section, PlacementStore& store) {
  FormPlacement placement(form);
  return zv::StorePlacement(placement, section, store);
}

void LoadPlacement(TForm& form, std::string_view section, PlacementStore& store) {
  FormPlacement placement(form);
  const ui::Size screen = ScreenSize();
  zv::LoadPlacement(placement, section, store, zv::ScreenSize{screen.width, screen.height});
}

}  // namespace zv::win
