// Pixel geometry shared by the portable layout rules and the window shell.
#pragma once

namespace zv::ui {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// A control's bounds as its parent sees them: left and top edge, width and height.
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  int right() const { return left + width; }
  int bottom() const { return top + height; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// Top-left corner that centres a form of size `form` on `window` (screen coordinates), pushed
// back inside a screen of size `screen`: the left and top edges win when the form is larger.
constexpr Point CenterOnWindow(Size form, const Rect& window, Size screen) {
  auto center = [](int start, int extent, int size, int screenExtent) {
    int pos = start + (extent - size) / 2;
    if (pos > screenExtent - size) pos = screenExtent - size;
    if (pos < 0) pos = 0;
    return pos;
  };
  return Point{center(window.left, window.width, form.width, screen.width),
               center(window.top, window.height, form.height, screen.height)};
}

}  // namespace zv::ui
