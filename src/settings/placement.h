// A form's size, position and window state kept in the settings between sessions, under a
// section named after the form. The stored position is in workspace coordinates (measured from
// the work area's corner); the form's own Left and Top are screen coordinates.
#pragma once

#include <optional>
#include <string_view>

#include "settings/variant.h"

namespace zv {

enum class WindowState { kNormal, kMinimized, kMaximized };

// The window placement's restored (normal) rectangle, in workspace coordinates.
struct NormalRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const NormalRect&, const NormalRect&) = default;
};

// The form as the placement sees it.
class PlacementForm {
 public:
  virtual ~PlacementForm() = default;
  virtual int Left() const = 0;
  virtual int Top() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetLeft(int v) = 0;
  virtual void SetTop(int v) = 0;
  virtual void SetWidth(int v) = 0;
  virtual void SetHeight(int v) = 0;
  virtual bool Sizeable() const = 0;  // a sizeable border: only then is a size stored
  virtual WindowState State() const = 0;
  virtual void SetState(WindowState s) = 0;
  // The window placement's normal rectangle; nullopt when it cannot be had.
  virtual std::optional<NormalRect> Placement() = 0;
};

// The settings store as the placement uses it.
class PlacementStore {
 public:
  virtual ~PlacementStore() = default;
  virtual Variant Read(std::string_view section, std::string_view key, const Variant& def) = 0;
  virtual void Write(std::string_view section, std::string_view key, const Variant& value) = 0;
  virtual bool Save() = 0;  // writes the settings file; false when it could not be written
};

struct ScreenSize {
  int width = 0, height = 0;
};

// Stores the placement in the store only: the file is written later by whoever saves the store.
// False when there was no placement to store.
bool StorePlacement(PlacementForm& form, std::string_view section, PlacementStore& store);

// Stores the placement and writes the settings file. Returns false when nothing could be stored
// (no placement) or the file could not be written; the caller goes on either way.
bool SavePlacement(PlacementForm& form, std::string_view section, PlacementStore& store);

// Restores the placement, keeping the form on a screen of size `screen`.
void LoadPlacement(PlacementForm& form, std::string_view section, PlacementStore& store,
                   ScreenSize screen);

}  // namespace zv
