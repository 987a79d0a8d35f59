// The form of the toolkit: a top-level window built from its description, with its modal loop,
// and the placement's view of it.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "settings/placement.h"
#include "ui/buttons_win32.h"
#include "ui/containers_win32.h"

namespace zv::win {

namespace detail {
// The form's own entry, made before the control base that refers to it.
struct FormSelf {
  ui::ControlDescription self;
};
}  // namespace detail

// A form: a top-level window built from its description. `Load` creates the window and the
// controls, binds the handlers the description names and lays out the docked controls.
class TForm : private detail::FormSelf, public TContainer {
 public:
  explicit TForm(const ui::FormDescription& d);
  ~TForm() override;

  const ui::FormDescription& FormDescriptionData() const { return form_; }
  // The control named `name` of the kind `T`, or null.
  template <typename T>
  T* Find(std::string_view name) const {
    return dynamic_cast<T*>(FindControl(name));
  }
  TControl* FindControl(std::string_view name) const;

  // Outer bounds in screen coordinates, and the inner size.
  int Left() const { return Bounds().left; }
  int Top() const { return Bounds().top; }
  void MoveTo(int left, int top);
  // Centres the form on `window` (borrowed), kept inside the screen; on the screen itself when
  // the window's rectangle cannot be read.
  void CenterOnWindow(HWND window);
  ui::Size ClientSize() const;
  void SetClientSize(ui::Size s);
  ui::BorderStyle Border() const { return form_.borderStyle; }

  WindowState State() const { return state_; }
  void SetState(WindowState s);

  void SetIcon(HICON icon);  // takes a copy
  HICON Icon() const { return bigIcon_.get(); }
  HFONT Font() const { return font_.get(); }

  // Shows the form modally: the thread's other enabled top-level windows are disabled until it
  // closes, then enabled again and the previously active window activated. Returns the modal
  // result (1 OK, 2 cancel; any other way of closing gives 2).
  int ShowModal();
  void SetModalResult(int result);
  int ModalResult() const { return modalResult_; }
  void Close();
  bool Loaded() const { return loaded_; }

  // Focus bookkeeping: the focused button is the one Enter presses, else the default button.
  void FocusMoved(TWinControl* control);

  std::function<void()> OnCreate, OnShow, OnClose, OnDestroy, OnResize;

 protected:
  // Builds the form; derived forms call it from their constructor with their handlers. An
  // `owner` (borrowed) keeps the form above it and takes it along when minimized.
  void Load(const HandlerTable& handlers, HWND owner = nullptr);
  bool Message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  void ApplyBounds(const ui::Rect& old) override;
  void ApplyCaption() override;
  void ApplyVisible() override;

 private:
  void CreateControls();
  void BindHandlers(const HandlerTable& handlers);
  void ShowForModal();
  void FocusFirst();
  void CancelPressed();
  // Ctrl+Tab and Ctrl+Shift+Tab turn the pages of the form's first page control, as in a
  // property sheet, so the pages can be reached without a mouse.
  bool TurnPage(int step);

  const ui::FormDescription& form_;
  WindowClass class_;
  WindowClass panelClass_;
  UniqueFont font_;
  UniqueBrush brush_;
  UniqueIcon bigIcon_;
  UniqueIcon smallIcon_;
  std::vector<std::unique_ptr<TControl>> controls_;
  std::map<std::string_view, TControl*> byName_;
  TButton* defaultButton_ = nullptr;
  TButton* cancelButton_ = nullptr;
  HWND lastFocus_ = nullptr;  // borrowed
  WindowState state_ = WindowState::kNormal;
  int modalResult_ = 0;
  bool loaded_ = false;
  bool inModal_ = false;
  bool restoringFocus_ = false;

  friend class TContainer;
  const WindowClass& PanelClass() const { return panelClass_; }
};

// The placement's view of a form.
class FormPlacement final : public PlacementForm {
 public:
  explicit FormPlacement(TForm& form) : form_(form) {}
  int Left() const override { return form_.Bounds().left; }
  int Top() const override { return form_.Bounds().top; }
  int Width() const override { return form_.Bounds().width; }
  int Height() const override { return form_.Bounds().height; }
  void SetLeft(int v) override { form_.MoveTo(v, form_.Top()); }
  void SetTop(int v) override { form_.MoveTo(form_.Left(), v); }
  void SetWidth(int v) override { form_.SetWidth(v); }
  void SetHeight(int v) override { form_.SetHeight(v); }
  bool Sizeable() const override { return ui::IsSizeable(form_.Border()); }
  WindowState State() const override { return form_.State(); }
  void SetState(WindowState s) override { form_.SetState(s); }
  std::optional<NormalRect> Placement() override;

 private:
  TForm& form_;
};

}  // namespace zv::win
