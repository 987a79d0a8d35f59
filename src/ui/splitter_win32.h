// The splitter control of the form toolkit; its rules are in ui/splitter.h.
#pragma once

#include "ui/control_win32.h"
#include "ui/splitter.h"

namespace zv::win {

// Drags the inverted bar of its own thickness while the mouse button is held; the size of the
// sibling docked just before it changes on release, Esc abandons the drag.
class TSplitter final : public TWinControl {
 public:
  TSplitter(TForm& form, const ui::ControlDescription& d, TContainer* parent);
  ~TSplitter() override;
  using TControl::Align;
  using TControl::SetAlign;
  bool Message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  bool Dragging() const { return dragging_; }

 private:
  void BeginDrag(POINT at);
  void MoveDrag(POINT at);
  void EndDrag(bool apply);
  void DrawBar();

  WindowClass class_;
  bool dragging_ = false;
  TControl* target_ = nullptr;
  ui::SplitRange range_;
  POINT start_{};
  int newSize_ = 0;
  ui::Rect bar_;
  HWND previousFocus_ = nullptr;  // borrowed
  UniqueBitmap pattern_;
  UniqueBrush brush_;
};

}  // namespace zv::win
