#include "ui/control_win32.h"

#include <commctrl.h>

#include <stdexcept>

#include "ui/containers_win32.h"
#include "ui/form_win32.h"
#include "win/cp932_win32.h"

namespace zv::win {

namespace {

// The window property that leads from a window to its control.
constexpr wchar_t kControlProp[] = L"ZvControl";
// The id of the toolkit's subclass of a standard control.
constexpr UINT_PTR kSubclassId = 1;

// Registrations by class name; a class goes when its last user does.
std::map<std::wstring, int>& ClassUsers() {
  static std::map<std::wstring, int> users;
  return users;
}

}  // namespace

RECT ToRECT(const ui::Rect& r) {
  return RECT{r.left, r.top, r.right(), r.bottom()};
}

ui::Rect WindowBounds(HWND window) {
  RECT rc{};
  ::GetWindowRect(window, &rc);
  return ui::Rect{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

std::wstring Wide(std::string_view cp932) {
  return Cp932ToWide(cp932);
}
std::string Narrow(std::wstring_view text) {
  return WideToCp932(text);
}

ui::Size ScreenSize() {
  return ui::Size{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

// ---- WindowClass

WindowClass::WindowClass(const std::wstring& name, UINT style) : name_(name) {
  int& users = ClassUsers()[name_];
  if (users == 0) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &TWinControl::WindowProc;
    wc.hInstance = ThisModule();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);  // shared system cursor
    wc.lpszClassName = name_.c_str();
    if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
      ClassUsers().erase(name_);
      throw std::runtime_error("window class not registered");
    }
  }
  ++users;
}

WindowClass::~WindowClass() {
  Release();
}

WindowClass::WindowClass(WindowClass&& o) noexcept : name_(std::move(o.name_)) {
  o.name_.clear();
}

WindowClass& WindowClass::operator=(WindowClass&& o) noexcept {
  if (this != &o) {
    Release();
    name_ = std::move(o.name_);
    o.name_.clear();
  }
  return *this;
}

void WindowClass::Release() {
  if (name_.empty()) return;
  auto it = ClassUsers().find(name_);
  if (it != ClassUsers().end() && --it->second == 0) {
    ::UnregisterClassW(name_.c_str(), ThisModule());
    ClassUsers().erase(it);
  }
  name_.clear();
}

// ---- TControl

TControl::TControl(TForm& form, const ui::ControlDescription& d, TContainer* parent)
    : form_(form),
      description_(d),
      parent_(parent),
      bounds_(d.bounds),
      align_(d.align.value_or(ui::alNone)),
      visible_((d.options & ui::kHidden) == 0),
      enabled_((d.options & ui::kDisabled) == 0),
      caption_(d.caption) {
  if (parent_) parent_->children_.push_back(this);
}

TControl::~TControl() {
  if (parent_) std::erase(parent_->children_, this);
}

void TControl::SetBounds(const ui::Rect& r) {
  if (r == bounds_) return;
  const ui::Rect old = bounds_;
  bounds_ = r;
  ApplyBounds(old);
  if (parent_ && align_ != ui::alNone) parent_->Realign(this);
}

void TControl::PlaceDocked(const ui::Rect& r) {
  if (r == bounds_) return;
  const ui::Rect old = bounds_;
  bounds_ = r;
  ApplyBounds(old);
}

void TControl::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  ApplyVisible();
  if (parent_ && align_ != ui::alNone) parent_->Realign(this);
}

void TControl::SetEnabled(bool e) {
  if (e == enabled_) return;
  enabled_ = e;
  ApplyEnabled();
}

void TControl::SetCaption(std::string_view text) {
  caption_.assign(text);
  ApplyCaption();
}

void TControl::SetAlign(ui::TAlign a) {
  if (a == align_) return;
  align_ = a;
  if (parent_) parent_->Realign(this);
}

void TControl::ApplyBounds(const ui::Rect&) {}

void TControl::Click() {
  if (OnClick) OnClick(*this);
}

void TControl::Change() {
  if (OnChange) OnChange(*this);
}

void TControl::Invalidate(const ui::Rect& r) {
  if (!parent_ || !parent_->Handle()) return;
  const RECT rc = ToRECT(r);
  ::InvalidateRect(parent_->Handle(), &rc, TRUE);
}

// ---- graphic controls

void TGraphicControl::ApplyBounds(const ui::Rect& old) {
  Invalidate(old);
  Invalidate(Bounds());
}
void TGraphicControl::ApplyVisible() {
  Invalidate(Bounds());
}
void TGraphicControl::ApplyEnabled() {
  Invalidate(Bounds());
}
void TGraphicControl::ApplyCaption() {
  Invalidate(Bounds());
}

// ---- TWinControl

TWinControl::~TWinControl() {
  Detach();
  window_.reset();
}

TWinControl* TWinControl::FromHandle(HWND window) {
  if (!window) return nullptr;
  return static_cast<TWinControl*>(::GetPropW(window, kControlProp));
}

void TWinControl::Bind(HWND window) {
  window_.reset(window);
  ::SetPropW(window, kControlProp, this);
}

void TWinControl::Detach() {
  const HWND h = window_.get();
  if (!h) return;
  ::RemovePropW(h, kControlProp);
  if (subclassed_) {
    ::RemoveWindowSubclass(h, &TWinControl::SubclassProc, kSubclassId);
    subclassed_ = false;
  }
}

HWND TWinControl::ParentWindow() const {
  return Parent() ? Parent()->Handle() : Form().Handle();
}

void TWinControl::CreateHandle(const wchar_t* cls, bool standard, DWORD style, DWORD exStyle,
                               HWND parent, const ui::Rect& r, std::string_view caption, HMENU id) {
  // A window of the toolkit's own class binds at WM_NCCREATE, from its creation parameter.
  HWND h = ::CreateWindowExW(exStyle, cls, Wide(caption).c_str(), style, r.left, r.top, r.width,
                             r.height, parent, id, ThisModule(), standard ? nullptr : this);
  if (!h) throw std::runtime_error("window not created");
  if (standard) {
    Bind(h);
    subclassed_ = ::SetWindowSubclass(h, &TWinControl::SubclassProc, kSubclassId, 0) != FALSE;
  }
  ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(Form().Font()), FALSE);
}

void TWinControl::CreateChild(const wchar_t* cls, bool standard, DWORD style, DWORD exStyle,
                              HWND parent, std::string_view caption) {
  const auto& controls = Form().FormDescriptionData().controls;
  const size_t index = static_cast<size_t>(&Description() - controls.data());
  style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (Visible()) style |= WS_VISIBLE;
  if (!Enabled()) style |= WS_DISABLED;
  CreateHandle(cls, standard, style, exStyle, parent, Bounds(), caption,
               reinterpret_cast<HMENU>(static_cast<INT_PTR>(ui::ControlId(index))));
}

LRESULT CALLBACK TWinControl::WindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    if (self) self->Bind(window);
  }
  return Dispatch(window, msg, wp, lp);
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                           DWORD_PTR) noexcept {
  return Dispatch(window, msg, wp, lp);
}

LRESULT TWinControl::Dispatch(HWND window, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  TWinControl* self = FromHandle(window);
  if (!self) return ::DefWindowProcW(window, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    const bool subclassed = self->subclassed_;
    self->Detach();
    self->window_.release();  // the system destroys it
    return subclassed ? ::DefSubclassProc(window, msg, wp, lp)
                      : ::DefWindowProcW(window, msg, wp, lp);
  }
  try {
    LRESULT result = 0;
    if (self->Message(msg, wp, lp, result)) return result;
  } catch (...) {
    // Nothing unwinds through the system's message dispatch.
  }
  return self->DefaultMessage(msg, wp, lp);
}

LRESULT TWinControl::DefaultMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  return subclassed_ ? ::DefSubclassProc(Handle(), msg, wp, lp)
                     : ::DefWindowProcW(Handle(), msg, wp, lp);
}

bool TWinControl::Message(UINT msg, WPARAM, LPARAM, LRESULT&) {
  if (msg == WM_SETFOCUS) Form().FocusMoved(this);
  return false;
}

HBRUSH TWinControl::ParentBackground(HDC dc) {
  if (!Parent()) return nullptr;
  ::SetBkColor(dc, Parent()->BackColor());
  return Parent()->BackBrush();
}

void TWinControl::SetFocus() {
  if (Handle()) ::SetFocus(Handle());
}

bool TWinControl::TabStop() const {
  return Handle() && (::GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_TABSTOP) != 0;
}

void TWinControl::SetTabStop(bool on) {
  if (!Handle()) return;
  LONG_PTR style = ::GetWindowLongPtrW(Handle(), GWL_STYLE);
  style = on ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
  ::SetWindowLongPtrW(Handle(), GWL_STYLE, style);
}

void TWinControl::ApplyBounds(const ui::Rect&) {
  if (!Handle()) return;
  const ui::Rect& b = Bounds();
  ::SetWindowPos(Handle(), nullptr, b.left, b.top, b.width, b.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::ApplyVisible() {
  if (Handle()) ::ShowWindow(Handle(), Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::ApplyEnabled() {
  if (Handle()) ::EnableWindow(Handle(), Enabled());
}

void TWinControl::ApplyCaption() {
  if (Handle()) ::SetWindowTextW(Handle(), Wide(Caption()).c_str());
}

}  // namespace zv::win
