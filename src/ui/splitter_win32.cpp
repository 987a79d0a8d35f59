#include "ui/splitter_win32.h"

#include <algorithm>
#include <vector>

#include "ui/containers_win32.h"

namespace zv::win {

TSplitter::TSplitter(TForm& form, const ui::ControlDescription& d, TContainer* parent)
    : TWinControl(form, d, parent), class_(L"TSplitter", 0) {
  const WORD halftone[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  pattern_.reset(::CreateBitmap(8, 8, 1, 1, halftone));
  brush_.reset(::CreatePatternBrush(pattern_.get()));
  CreateChild(class_.name().c_str(), false, 0, 0, ParentWindow(), "");
}

TSplitter::~TSplitter() {
  if (dragging_) EndDrag(false);
  Detach();
  window_.reset();
}

bool TSplitter::Message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  const bool horizontal = Align() == ui::alLeft || Align() == ui::alRight;
  POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  switch (msg) {
    case WM_SETCURSOR:
      ::SetCursor(::LoadCursorW(nullptr, horizontal ? IDC_SIZEWE : IDC_SIZENS));  // shared
      result = TRUE;
      return true;
    case WM_ERASEBKGND: {
      RECT rc{};
      ::GetClientRect(Handle(), &rc);
      ::FillRect(reinterpret_cast<HDC>(wp), &rc,
                 Parent() ? Parent()->BackBrush() : ::GetSysColorBrush(COLOR_BTNFACE));
      result = 1;
      return true;
    }
    case WM_LBUTTONDOWN:
      ::ClientToScreen(Handle(), &at);
      BeginDrag(at);
      return true;
    case WM_MOUSEMOVE:
      if (dragging_) {
        ::ClientToScreen(Handle(), &at);
        MoveDrag(at);
      }
      return true;
    case WM_LBUTTONUP:
      if (dragging_) {
        ::ClientToScreen(Handle(), &at);
        MoveDrag(at);
        EndDrag(true);
      }
      return true;
    case WM_KEYDOWN:
      if (dragging_ && wp == VK_ESCAPE) {
        EndDrag(false);
        return true;
      }
      return false;
    case WM_GETDLGCODE:
      if (dragging_) {
        result = DLGC_WANTALLKEYS;
        return true;
      }
      return false;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      if (dragging_) EndDrag(false);
      return false;
    default:
      return false;
  }
}

void TSplitter::BeginDrag(POINT at) {
  TContainer* parent = Parent();
  if (!parent || dragging_) return;
  // The docking in force, which may differ from the described one.
  const std::vector<ui::DockChild> items = parent->DockChildren();
  const auto& children = parent->Children();
  const size_t self = static_cast<size_t>(std::find(children.begin(), children.end(), this) -
                                          children.begin());
  const auto target = ui::SplitterTarget(items, self);
  if (!target) return;
  const bool horizontal = Align() == ui::alLeft || Align() == ui::alRight;
  const ui::Rect area = parent->DockArea();
  target_ = children[*target];
  range_ = ui::SplitterRange(items, self, *target, horizontal ? area.width : area.height);
  start_ = at;
  newSize_ = horizontal ? target_->Bounds().width : target_->Bounds().height;
  bar_ = ui::SplitterBar(items[*target], items[self], newSize_);
  previousFocus_ = ::GetFocus();
  dragging_ = true;
  ::SetCapture(Handle());
  ::SetFocus(Handle());
  DrawBar();
}

void TSplitter::MoveDrag(POINT at) {
  const bool horizontal = Align() == ui::alLeft || Align() == ui::alRight;
  const int delta = horizontal ? at.x - start_.x : at.y - start_.y;
  const ui::DockChild target{target_->Bounds(), Align(), true};
  const int size = ui::SplitterNewSize(target, Align(), delta, range_);
  if (size == newSize_) return;
  DrawBar();  // off
  newSize_ = size;
  bar_ = ui::SplitterBar(target, ui::DockChild{Bounds(), Align(), true}, newSize_);
  DrawBar();
}

void TSplitter::EndDrag(bool apply) {
  if (!dragging_) return;
  dragging_ = false;
  DrawBar();  // off
  if (::GetCapture() == Handle()) ::ReleaseCapture();
  if (previousFocus_ && ::IsWindow(previousFocus_)) ::SetFocus(previousFocus_);
  previousFocus_ = nullptr;
  TControl* target = target_;
  target_ = nullptr;
  if (!apply || !target) return;
  if (Align() == ui::alLeft || Align() == ui::alRight) {
    target->SetWidth(newSize_);
  } else {
    target->SetHeight(newSize_);
  }
}

void TSplitter::DrawBar() {
  if (!Parent()) return;
  WindowDc dc(Parent()->Handle(), DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
  if (!dc.get()) return;
  SelectScope brush(dc.get(), brush_.get());
  ::PatBlt(dc.get(), bar_.left, bar_.top, bar_.width, bar_.height, PATINVERT);
}

}  // namespace zv::win
