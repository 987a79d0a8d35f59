// The control bases of the form toolkit: every control, the graphic controls painted by their
// container, and the controls with a window of their own, which all share one window procedure.
// Texts are code page 932 bytes and are converted at the window edge; the windows are Unicode
// windows.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "ui/form_description.h"
#include "win/gdi_win32.h"
#include "win/handles_win32.h"

namespace zv::win {

class TForm;
class TContainer;

using Handler = std::function<void()>;
// Handlers of a form by the names its description uses.
using HandlerTable = std::map<std::string_view, Handler>;

// A window class registered for as long as any window of it exists. Its windows run
// TWinControl's window procedure.
class WindowClass {
 public:
  WindowClass() = default;
  WindowClass(const std::wstring& name, UINT style);
  ~WindowClass();
  WindowClass(WindowClass&& o) noexcept;
  WindowClass& operator=(WindowClass&& o) noexcept;
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;
  const std::wstring& name() const { return name_; }

 private:
  void Release();
  std::wstring name_;
};

class TControl {
 public:
  TControl(TForm& form, const ui::ControlDescription& d, TContainer* parent);
  virtual ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  std::string_view Name() const { return description_.name; }
  ui::ControlKind Kind() const { return description_.kind; }
  const ui::ControlDescription& Description() const { return description_; }
  TForm& Form() const { return form_; }
  TContainer* Parent() const { return parent_; }
  virtual HWND Handle() const { return nullptr; }  // graphic controls have none

  const ui::Rect& Bounds() const { return bounds_; }
  void SetBounds(const ui::Rect& r);
  void SetWidth(int w) { SetBounds({bounds_.left, bounds_.top, w, bounds_.height}); }
  void SetHeight(int h) { SetBounds({bounds_.left, bounds_.top, bounds_.width, h}); }
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e);
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string_view text);

  std::function<void(TControl&)> OnClick;
  std::function<void(TControl&)> OnChange;

  // Bounds set by the container's docking: no new layout.
  void PlaceDocked(const ui::Rect& r);

 protected:
  // Every control carries its docking; the kinds that may be docked make it public.
  ui::TAlign Align() const { return align_; }
  void SetAlign(ui::TAlign a);

  virtual void ApplyBounds(const ui::Rect& old);
  virtual void ApplyVisible() {}
  virtual void ApplyEnabled() {}
  virtual void ApplyCaption() {}
  void Click();
  void Change();
  void Invalidate(const ui::Rect& r);
  // Records bounds the system gave the window.
  void StoreBounds(const ui::Rect& r) { bounds_ = r; }

 private:
  friend class TContainer;
  TForm& form_;
  const ui::ControlDescription& description_;
  TContainer* parent_;
  ui::Rect bounds_;
  ui::TAlign align_;
  bool visible_;
  bool enabled_;
  std::string caption_;
};

// A control without a window, painted by its container.
class TGraphicControl : public TControl {
 public:
  using TControl::TControl;
  virtual void Paint(HDC dc) = 0;

 protected:
  void ApplyBounds(const ui::Rect& old) override;
  void ApplyVisible() override;
  void ApplyEnabled() override;
  void ApplyCaption() override;
};

// A control with a window of its own. Every such window, of the toolkit's own classes or a
// subclassed standard control, leads back to its control the same way and runs the same window
// procedure, which hands the messages to Message().
class TWinControl : public TControl {
 public:
  using TControl::TControl;
  ~TWinControl() override;
  HWND Handle() const override { return window_.get(); }
  // The control of a window of this toolkit, or null.
  static TWinControl* FromHandle(HWND window);

  void SetFocus();
  bool TabStop() const;
  void SetTabStop(bool on);

  // Notifications that the parent window receives for this control.
  virtual void Command(WORD /*code*/) {}
  virtual LRESULT Notify(NMHDR* /*header*/) { return 0; }
  // WM_CTLCOLOR*: a brush for the background, or null for the default.
  virtual HBRUSH ControlColor(HDC /*dc*/) { return nullptr; }
  // Messages to the control's own window; return true when handled (with `result`), false for
  // the window's default handling.
  virtual bool Message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  // The window procedure of the toolkit's own classes.
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM) noexcept;

 protected:
  // Creates the window: a standard control (window class `cls` of the system) is subclassed, a
  // window of the toolkit's own class binds itself as it is created. Either way the window then
  // has the form's font.
  void CreateHandle(const wchar_t* cls, bool standard, DWORD style, DWORD exStyle, HWND parent,
                    const ui::Rect& r, std::string_view caption, HMENU id);
  // The same for a child window of `parent`: visible and enabled as the control is, with the
  // window id of its place in the form's description.
  void CreateChild(const wchar_t* cls, bool standard, DWORD style, DWORD exStyle, HWND parent,
                   std::string_view caption);
  // A standard control in the parent's window, captioned by the control.
  void CreateStandard(const wchar_t* cls, DWORD style, DWORD exStyle) {
    CreateChild(cls, true, style, exStyle, ParentWindow(), Caption());
  }
  // A message handled with `value` as its result, for Message(): `return Answer(result, 0);`.
  static bool Answer(LRESULT& result, LRESULT value) {
    result = value;
    return true;
  }
  // What the window does with a message by itself.
  LRESULT DefaultMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept;
  // The parent's background for a control drawn on it (WM_CTLCOLOR*).
  HBRUSH ParentBackground(HDC dc);
  void ApplyBounds(const ui::Rect& old) override;
  void ApplyVisible() override;
  void ApplyEnabled() override;
  void ApplyCaption() override;
  HWND ParentWindow() const;
  // Lets go of the window: no message reaches this object afterwards.
  void Detach();
  // Runs `body` without raising OnChange or OnClick: changes made by the program.
  template <typename F>
  void Quietly(F&& body) {
    const bool was = quiet_;
    quiet_ = true;
    body();
    quiet_ = was;
  }
  bool quiet() const { return quiet_; }

  UniqueWindow window_;

 private:
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;
  static LRESULT Dispatch(HWND window, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  void Bind(HWND window);

  bool subclassed_ = false;
  bool quiet_ = false;
};

// The primary screen's size in pixels (not the work area).
ui::Size ScreenSize();

// Wide text for the window edge and back.
std::wstring Wide(std::string_view cp932);
std::string Narrow(std::wstring_view text);

RECT ToRECT(const ui::Rect& r);
// A window's outer bounds in screen coordinates.
ui::Rect WindowBounds(HWND window);

}  // namespace zv::win
