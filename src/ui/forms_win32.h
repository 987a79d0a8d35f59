// The form toolkit: one small class per kind of control, each with its event callbacks, built
// from a form description. A form owns its controls; every control owns its window (graphic
// controls such as labels have none and are painted by their container). Texts are code page
// 932 bytes and are converted at the window edge; the windows are Unicode windows.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/handles_win32.h"
#include "settings/placement.h"
#include "ui/form_description.h"
#include "ui/gdi_win32.h"
#include "ui/splitter.h"

namespace zv::ui::win {

class TForm;
class TWinControl;
class TContainer;

using Handler = std::function<void()>;
// Handlers of a form by the names its description uses.
using HandlerTable = std::map<std::string_view, Handler>;

// A window class registered for as long as any window of it exists.
class WindowClass {
 public:
  WindowClass() = default;
  WindowClass(const std::wstring& name, WNDPROC proc, UINT style);
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
  TControl(TForm& form, const ControlDescription& d, TContainer* parent);
  virtual ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  std::string_view Name() const { return description_.name; }
  ControlKind Kind() const { return description_.kind; }
  const ControlDescription& Description() const { return description_; }
  TForm& Form() const { return form_; }
  TContainer* Parent() const { return parent_; }
  virtual HWND Handle() const { return nullptr; }  // graphic controls have none

  const Rect& Bounds() const { return bounds_; }
  void SetBounds(const Rect& r);
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
  void PlaceDocked(const Rect& r);

 protected:
  // Every control carries its docking; the kinds that may be docked make it public.
  TAlign Align() const { return align_; }
  void SetAlign(TAlign a);

  virtual void ApplyBounds(const Rect& old);
  virtual void ApplyVisible() {}
  virtual void ApplyEnabled() {}
  virtual void ApplyCaption() {}
  void Click();
  void Change();
  void Invalidate(const Rect& r);
  // Records bounds the system gave the window.
  void StoreBounds(const Rect& r) { bounds_ = r; }

 private:
  friend class TContainer;
  TForm& form_;
  const ControlDescription& description_;
  TContainer* parent_;
  Rect bounds_;
  TAlign align_;
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
  void ApplyBounds(const Rect& old) override;
  void ApplyVisible() override;
  void ApplyEnabled() override;
  void ApplyCaption() override;
};

class TLabel final : public TGraphicControl {
 public:
  TLabel(TForm& form, const ControlDescription& d, TContainer* parent);
  using TControl::Align;
  using TControl::SetAlign;
  void Paint(HDC dc) override;
  // The caption's extent in the form's font.
  Size TextExtent() const;

 protected:
  void ApplyCaption() override;

 private:
  void AutoSize();
};

class TImage final : public TGraphicControl {
 public:
  using TControl::Align;
  using TControl::SetAlign;
  using TGraphicControl::TGraphicControl;
  // Takes a copy of `icon` (borrowed) as the picture.
  void SetIcon(HICON icon);
  HICON Icon() const { return icon_.get(); }
  void Paint(HDC dc) override;

 private:
  zv::win::UniqueIcon icon_;
};

class TBevel final : public TGraphicControl {
 public:
  using TControl::Align;
  using TControl::SetAlign;
  using TGraphicControl::TGraphicControl;
  void Paint(HDC dc) override;
};

// A control with a window of its own.
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
  // Messages to the control's own window; return true when handled.
  virtual bool Message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

 protected:
  // Creates a standard control (window class `cls`) as a child of the parent's window.
  void CreateStandard(const wchar_t* cls, DWORD style, DWORD exStyle);
  // Takes a window created with this object as its creation parameter.
  void Adopt(HWND window);
  void ApplyBounds(const Rect& old) override;
  void ApplyVisible() override;
  void ApplyEnabled() override;
  void ApplyCaption() override;
  HWND ParentWindow() const;
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

  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  zv::win::UniqueWindow window_;

 private:
  bool subclassed_ = false;
  bool quiet_ = false;
};

// A window that holds and docks other controls: the form, panels and tab sheets.
class TContainer : public TWinControl {
 public:
  using TWinControl::TWinControl;
  const std::vector<TControl*>& Children() const { return children_; }
  // Lays out the docked children; `cause` (a child) goes first among equals.
  void Realign(TControl* cause = nullptr);
  // The area docking may use, in client coordinates.
  virtual Rect DockArea() const;
  // The background colour and its brush.
  COLORREF BackColor() const;
  HBRUSH BackBrush() const;

 protected:
  friend class TControl;
  // Container window procedure: binds `this` at WM_NCCREATE, forwards the children's
  // notifications, paints the background and the graphic children.
  static LRESULT CALLBACK ContainerProc(HWND, UINT, WPARAM, LPARAM);
  virtual LRESULT ContainerMessage(UINT msg, WPARAM wp, LPARAM lp);
  void CreateContainer(const WindowClass& cls, DWORD style, DWORD exStyle, HWND parent,
                       const Rect& r, std::string_view caption);
  void Paint();
  bool aligning() const { return aligning_; }

 private:
  std::vector<TControl*> children_;
  bool aligning_ = false;
};

class TPanel final : public TContainer {
 public:
  TPanel(TForm& form, const ControlDescription& d, TContainer* parent);
  using TControl::Align;
  using TControl::SetAlign;
};

class TPageControl;

class TTabSheet final : public TContainer {
 public:
  TTabSheet(TForm& form, const ControlDescription& d, TPageControl& pages);
};

class TPageControl final : public TWinControl {
 public:
  TPageControl(TForm& form, const ControlDescription& d, TContainer* parent);
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

class TButton final : public TWinControl {
 public:
  TButton(TForm& form, const ControlDescription& d, TContainer* parent);
  int ModalResult() const { return Description().modalResult; }
  bool IsDefault() const { return (Description().options & kDefault) != 0; }
  bool IsCancel() const { return (Description().options & kCancel) != 0; }
  // Drawn as the button Enter presses.
  void ShowAsDefault(bool on);
  void Press();
  void Command(WORD code) override;
};

class TEdit : public TWinControl {
 public:
  TEdit(TForm& form, const ControlDescription& d, TContainer* parent);
  // The bytes last set while the text shows unchanged; the shown text once it differs.
  std::string Text() const;
  void SetText(std::string_view text);
  void SelectAll();
  void Command(WORD code) override;
  HBRUSH ControlColor(HDC dc) override;

 protected:
  TEdit(TForm& form, const ControlDescription& d, TContainer* parent, DWORD style);

 private:
  std::optional<std::string> set_;
};

class TMemo final : public TEdit {
 public:
  TMemo(TForm& form, const ControlDescription& d, TContainer* parent);
  using TControl::Align;
  using TControl::SetAlign;
};

class TListBox final : public TWinControl {
 public:
  TListBox(TForm& form, const ControlDescription& d, TContainer* parent);
  using TControl::Align;
  using TControl::SetAlign;
  int Count() const;
  void Add(std::string_view item);
  void Delete(int index);
  void Clear();
  // The bytes the item was added with.
  std::string Item(int index) const;
  void SetItem(int index, std::string_view item);
  int ItemIndex() const;  // -1: no selection
  void SetItemIndex(int index);
  void Command(WORD code) override;

 private:
  std::vector<std::string> items_;  // as added: the window holds them as UTF-16
};

class TCheckBox : public TWinControl {
 public:
  TCheckBox(TForm& form, const ControlDescription& d, TContainer* parent);
  bool Checked() const;
  void SetChecked(bool on);
  void Command(WORD code) override;
  HBRUSH ControlColor(HDC dc) override;
};

// Checking one radio button clears its siblings in the same container; only the checked one
// is a tab stop.
class TRadioButton : public TWinControl {
 public:
  TRadioButton(TForm& form, const ControlDescription& d, TContainer* parent);
  bool Checked() const;
  void SetChecked(bool on);
  void Command(WORD code) override;
  HBRUSH ControlColor(HDC dc) override;

 private:
  void UpdateTabStops();
};

// Drags the inverted bar of its own thickness while the mouse button is held; the size of the
// sibling docked just before it changes on release, Esc abandons the drag.
class TSplitter final : public TWinControl {
 public:
  TSplitter(TForm& form, const ControlDescription& d, TContainer* parent);
  ~TSplitter() override;
  using TControl::Align;
  using TControl::SetAlign;
  bool Message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  bool Dragging() const { return dragging_; }

 private:
  static LRESULT CALLBACK SplitterProc(HWND, UINT, WPARAM, LPARAM);
  void BeginDrag(POINT at);
  void MoveDrag(POINT at);
  void EndDrag(bool apply);
  void DrawBar();

  WindowClass class_;
  bool dragging_ = false;
  TControl* target_ = nullptr;
  SplitRange range_;
  POINT start_{};
  int newSize_ = 0;
  Rect bar_;
  HWND previousFocus_ = nullptr;  // borrowed
  UniqueBitmap pattern_;
  zv::win::UniqueBrush brush_;
};

namespace detail {
// The form's own entry, made before the control base that refers to it.
struct FormSelf {
  ControlDescription self;
};
}  // namespace detail

// A form: a top-level window built from its description. `Load` creates the window and the
// controls, binds the handlers the description names and lays out the docked controls.
class TForm : private detail::FormSelf, public TContainer {
 public:
  explicit TForm(const FormDescription& d);
  ~TForm() override;

  const FormDescription& FormDescriptionData() const { return form_; }
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
  Size ClientSize() const;
  void SetClientSize(Size s);
  BorderStyle Border() const { return form_.borderStyle; }

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
  // Builds the form; derived forms call it from their constructor with their handlers.
  void Load(const HandlerTable& handlers);
  LRESULT ContainerMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void ApplyBounds(const Rect& old) override;
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

  const FormDescription& form_;
  WindowClass class_;
  WindowClass panelClass_;
  zv::win::UniqueFont font_;
  zv::win::UniqueBrush brush_;
  zv::win::UniqueIcon bigIcon_;
  zv::win::UniqueIcon smallIcon_;
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
  friend class TPanel;
  friend class TTabSheet;
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
  bool Sizeable() const override { return IsSizeable(form_.Border()); }
  WindowState State() const override { return form_.State(); }
  void SetState(WindowState s) override { form_.SetState(s); }
  std::optional<NormalRect> Placement() override;

 private:
  TForm& form_;
};

// The primary screen's size in pixels (not the work area).
Size ScreenSize();

// Wide text for the window edge and back.
std::wstring Wide(std::string_view cp932);
std::string Narrow(std::wstring_view text);

}  // namespace zv::ui::win
