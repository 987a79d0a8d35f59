// Containers of the form toolkit: windows that hold and dock other controls (panels and tab
// sheets; the form is one too), and the page control that shows one tab sheet at a time.
#pragma once

#include <vector>

#include "ui/control_win32.h"
#include "ui/dock_layout.h"

namespace zv::win {

// A window that holds and docks other controls: the form, panels and tab sheets.
class TContainer : public TWinControl {
 public:
  using TWinControl::TWinControl;
  const std::vector<TControl*>& Children() const { return children_; }
  // The children as docking sees them, in their order: bounds, the docking in force, visibility.
  // Both the layout and a splitter's drag work on this.
  std::vector<ui::DockChild> DockChildren() const;
  // Lays out the docked children; `cause` (a child) goes first among equals.
  void Realign(TControl* cause = nullptr);
  // The area docking may use, in client coordinates.
  virtual ui::Rect DockArea() const;
  // The background colour and its brush.
  COLORREF BackColor() const;
  HBRUSH BackBrush() const;
  // Forwards the children's notifications, paints the background and the graphic children.
  bool Message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 protected:
  friend class TControl;
  // A child container in `parent` (a window), of the form's panel class.
  void CreatePane(HWND parent);
  void Paint();
  bool aligning() const { return aligning_; }

 private:
  std::vector<TControl*> children_;
  bool aligning_ = false;
};

class TPanel final : public TContainer {
 public:
  TPanel(TForm& form, const ui::ControlDescription& d, TContainer* parent);
  using TControl::Align;
  using TControl::SetAlign;
};

class TPageControl;

class TTabSheet final : public TContainer {
 public:
  TTabSheet(TForm& form, const ui::ControlDescription& d, TPageControl& pages);
};

class TPageControl final : public TWinControl {
 public:
  TPageControl(TForm& form, const ui::ControlDescription& d, TContainer* parent);
  using TControl::Align;
  using TControl::SetAlign;
  void AddPage(TTabSheet& sheet);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  int ActivePageIndex() const { return active_; }
  void SetActivePageIndex(int index);
  // Turns to a page as the user's click does, raising OnChange.
  void TurnTo(int index);
  HWND PageParent() const { return Handle(); }
  LRESULT Notify(NMHDR* header) override;
  bool Message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  void LayoutPages();

 private:
  std::vector<TTabSheet*> pages_;
  int active_ = -1;
};

}  // namespace zv::win
