#include "settings/placement.h"

namespace zv {

namespace {

// A stored number. A value of another type (only in a file edited by hand) counts when it is a
// whole decimal number written as text, and otherwise keeps the current value.
int ReadInt(PlacementStore& store, std::string_view section, std::string_view key, int current) {
  const Variant v = store.Read(section, key, Variant::Int32(current));
  if (const auto n = v.AsInt32()) return *n;
  if (const std::string* text = v.AsText()) return ParseInt32(*text).value_or(current);
  return current;
}

}  // namespace

bool StorePlacement(PlacementForm& form, std::string_view section, PlacementStore& store) {
  const auto normal = form.Placement();
  if (!normal) return false;
  if (form.Sizeable()) {
    store.Write(section, "Width", Variant::Int32(normal->right - normal->left));
    store.Write(section, "Height", Variant::Int32(normal->bottom - normal->top));
  }
  store.Write(section, "Left", Variant::Int32(normal->left));
  store.Write(section, "Top", Variant::Int32(normal->top));
  const char* state = "Normal";
  switch (form.State()) {
    case WindowState::kMinimized:
      state = "Minimized";
      break;
    case WindowState::kMaximized:
      state = "Maximized";
      break;
    case WindowState::kNormal:
      break;
  }
  store.Write(section, "State", Variant::Text(state));
  return true;
}

bool SavePlacement(PlacementForm& form, std::string_view section, PlacementStore& store) {
  return StorePlacement(form, section, store) && store.Save();
}

void LoadPlacement(PlacementForm& form, std::string_view section, PlacementStore& store,
                   ScreenSize screen) {
  form.SetLeft(ReadInt(store, section, "Left", form.Left()));
  form.SetTop(ReadInt(store, section, "Top", form.Top()));
  if (const auto normal = form.Placement()) {
    form.SetLeft(form.Left() + ReadInt(store, section, "Left", form.Left()) - normal->left);
    form.SetTop(form.Top() + ReadInt(store, section, "Top", form.Top()) - normal->top);
  }
  if (form.Sizeable()) {
    form.SetWidth(ReadInt(store, section, "Width", form.Width()));
    form.SetHeight(ReadInt(store, section, "Height", form.Height()));
  }
  if (screen.width - form.Width() < form.Left()) form.SetLeft(screen.width - form.Width());
  if (form.Left() < 0) form.SetLeft(0);
  if (screen.height - form.Height() < form.Top()) form.SetTop(screen.height - form.Height());
  if (form.Top() < 0) form.SetTop(0);

  const std::string state = store.Read(section, "State", Variant::Text("Normal")).ToText();
  if (state == "Minimized") {
    form.SetState(WindowState::kMinimized);
  } else if (state == "Maximized") {
    form.SetState(WindowState::kMaximized);
  } else {
    form.SetState(WindowState::kNormal);
  }
}

}  // namespace zv
