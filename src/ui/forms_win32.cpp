#include "ui/forms_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "text/cp932_win32.h"
#include "ui/alignable_check_box_win32.h"
#include "ui/alignable_radio_button_win32.h"

namespace zv::ui::win {

namespace {

// The window property that leads from a window to its control.
constexpr wchar_t kControlProp[] = L"ZvControl";

RECT ToRECT(const Rect& r) {
  return RECT{r.left, r.top, r.right(), r.bottom()};
}

Rect WindowBounds(HWND window) {
  RECT rc{};
  ::GetWindowRect(window, &rc);
  return Rect{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

// Registrations by class name; a class goes when its last user does.
std::map<std::wstring, int>& ClassUsers() {
  static std::map<std::wstring, int> users;
  return users;
}

}  // namespace

std::wstring Wide(std::string_view cp932) {
  return zv::win::Cp932ToWide(cp932);
}
std::string Narrow(std::wstring_view text) {
  return zv::win::WideToCp932(text);
}

Size ScreenSize() {
  return Size{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

// ---- WindowClass

WindowClass::WindowClass(const std::wstring& name, WNDPROC proc, UINT style) : name_(name) {
  int& users = ClassUsers()[name_];
  if (users == 0) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
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

TControl::TControl(TForm& form, const ControlDescription& d, TContainer* parent)
    : form_(form),
      description_(d),
      parent_(parent),
      bounds_(d.bounds),
      align_(d.align.value_or(alNone)),
      visible_((d.options & kHidden) == 0),
      enabled_((d.options & kDisabled) == 0),
      caption_(d.caption) {
  if (parent_) parent_->children_.push_back(this);
}

TControl::~TControl() {
  if (parent_) std::erase(parent_->children_, this);
}

void TControl::SetBounds(const Rect& r) {
  if (r == bounds_) return;
  const Rect old = bounds_;
  bounds_ = r;
  ApplyBounds(old);
  if (parent_ && align_ != alNone) parent_->Realign(this);
}

void TControl::PlaceDocked(const Rect& r) {
  if (r == bounds_) return;
  const Rect old = bounds_;
  bounds_ = r;
  ApplyBounds(old);
}

void TControl::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  ApplyVisible();
  if (parent_ && align_ != alNone) parent_->Realign(this);
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

void TControl::SetAlign(TAlign a) {
  if (a == align_) return;
  align_ = a;
  if (parent_) parent_->Realign(this);
}

void TControl::ApplyBounds(const Rect&) {}

void TControl::Click() {
  if (OnClick) OnClick(*this);
}

void TControl::Change() {
  if (OnChange) OnChange(*this);
}

void TControl::Invalidate(const Rect& r) {
  if (!parent_ || !parent_->Handle()) return;
  const RECT rc = ToRECT(r);
  ::InvalidateRect(parent_->Handle(), &rc, TRUE);
}

// ---- graphic controls

void TGraphicControl::ApplyBounds(const Rect& old) {
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

TLabel::TLabel(TForm& form, const ControlDescription& d, TContainer* parent)
    : TGraphicControl(form, d, parent) {
  if (d.options & kAutoSize) AutoSize();
}

Size TLabel::TextExtent() const {
  WindowDc screen(nullptr);
  SelectScope font(screen.get(), Form().Font());
  const std::wstring text = Wide(Caption().empty() ? std::string_view(" ") : Caption());
  RECT rc{0, 0, 0, 0};
  ::DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &rc,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
  return Size{Caption().empty() ? 0 : rc.right - rc.left, rc.bottom - rc.top};
}

void TLabel::AutoSize() {
  const Size extent = TextExtent();
  Rect r = Bounds();
  const TAlign a = Align();
  if (a != alTop && a != alBottom && a != alClient) r.width = extent.width;
  if (a != alLeft && a != alRight && a != alClient) r.height = extent.height;
  SetBounds(r);
}

void TLabel::ApplyCaption() {
  if (Description().options & kAutoSize) AutoSize();
  TGraphicControl::ApplyCaption();
}

void TLabel::Paint(HDC dc) {
  SelectScope font(dc, Form().Font());
  ::SetBkMode(dc, TRANSPARENT);
  const std::wstring text = Wide(Caption());
  const UINT format =
      DT_NOPREFIX | DT_EXPANDTABS | ((Description().options & kRightJustify) ? DT_RIGHT : DT_LEFT);
  RECT rc = ToRECT(Bounds());
  if (!Enabled()) {
    RECT shifted = rc;
    ::OffsetRect(&shifted, 1, 1);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &shifted, format);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
  } else {
    ::SetTextColor(dc, Description().fontColor.value_or(::GetSysColor(COLOR_WINDOWTEXT)));
  }
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, format);
}

void TImage::SetIcon(HICON icon) {
  icon_.reset(icon ? ::CopyIcon(icon) : nullptr);
  if (icon_ && (Description().options & kAutoSize)) {
    ICONINFO info{};
    if (::GetIconInfo(icon_.get(), &info)) {
      UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
      BITMAP bm{};
      if (color && ::GetObjectW(color.get(), sizeof bm, &bm)) {
        SetBounds({Bounds().left, Bounds().top, bm.bmWidth, bm.bmHeight});
      } else if (mask && ::GetObjectW(mask.get(), sizeof bm, &bm)) {
        SetBounds({Bounds().left, Bounds().top, bm.bmWidth, bm.bmHeight / 2});
      }
    }
  }
  Invalidate(Bounds());
}

void TImage::Paint(HDC dc) {
  if (!icon_) return;
  ::DrawIconEx(dc, Bounds().left, Bounds().top, icon_.get(), Bounds().width, Bounds().height, 0,
               nullptr, DI_NORMAL);
}

void TBevel::Paint(HDC dc) {
  // A lowered line along the bottom edge: shadow above highlight.
  const Rect b = Bounds();
  if (!(Description().options & kBottomLine)) {
    RECT rc = ToRECT(b);
    ::DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT);
    return;
  }
  RECT shadow{b.left, b.bottom() - 2, b.right(), b.bottom() - 1};
  RECT light{b.left, b.bottom() - 1, b.right(), b.bottom()};
  ::FillRect(dc, &shadow, ::GetSysColorBrush(COLOR_BTNSHADOW));  // system brushes: borrowed
  ::FillRect(dc, &light, ::GetSysColorBrush(COLOR_BTNHIGHLIGHT));
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

void TWinControl::Detach() {
  const HWND h = window_.get();
  if (!h) return;
  ::RemovePropW(h, kControlProp);
  if (subclassed_) {
    ::RemoveWindowSubclass(h, &TWinControl::SubclassProc, 1);
    subclassed_ = false;
  } else {
    ::SetWindowLongPtrW(h, GWLP_USERDATA, 0);
  }
}

HWND TWinControl::ParentWindow() const {
  return Parent() ? Parent()->Handle() : Form().Handle();
}

void TWinControl::CreateStandard(const wchar_t* cls, DWORD style, DWORD exStyle) {
  const auto& controls = Form().FormDescriptionData().controls;
  const size_t index = static_cast<size_t>(&Description() - controls.data());
  style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (Visible()) style |= WS_VISIBLE;
  if (!Enabled()) style |= WS_DISABLED;
  const Rect& b = Bounds();
  HWND h = ::CreateWindowExW(exStyle, cls, Wide(Caption()).c_str(), style, b.left, b.top, b.width,
                             b.height, ParentWindow(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(index))),
                             ThisModule(), nullptr);
  if (!h) throw std::runtime_error("control window not created");
  window_.reset(h);
  ::SetPropW(h, kControlProp, this);
  subclassed_ = ::SetWindowSubclass(h, &TWinControl::SubclassProc, 1,
                                    reinterpret_cast<DWORD_PTR>(this)) != FALSE;
  ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(Form().Font()), FALSE);
}

void TWinControl::Adopt(HWND window) {
  ::SetPropW(window, kControlProp, this);
  ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(Form().Font()), FALSE);
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                           DWORD_PTR data) {
  auto* self = reinterpret_cast<TWinControl*>(data);
  if (msg == WM_NCDESTROY) {
    ::RemoveWindowSubclass(window, &TWinControl::SubclassProc, 1);
    ::RemovePropW(window, kControlProp);
    self->subclassed_ = false;
    self->window_.release();  // the system destroys it
    return ::DefSubclassProc(window, msg, wp, lp);
  }
  try {
    LRESULT result = 0;
    if (self->Message(msg, wp, lp, result)) return result;
  } catch (...) {
    // Nothing unwinds through the system's message dispatch.
  }
  return ::DefSubclassProc(window, msg, wp, lp);
}

bool TWinControl::Message(UINT msg, WPARAM, LPARAM, LRESULT&) {
  if (msg == WM_SETFOCUS) Form().FocusMoved(this);
  return false;
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

void TWinControl::ApplyBounds(const Rect&) {
  if (!Handle()) return;
  const Rect& b = Bounds();
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

// ---- TContainer

Rect TContainer::DockArea() const {
  RECT rc{};
  if (Handle()) ::GetClientRect(Handle(), &rc);
  return Rect{0, 0, rc.right - rc.left, rc.bottom - rc.top};
}

COLORREF TContainer::BackColor() const {
  const auto& color = Form().FormDescriptionData().color;
  return color ? *color : ::GetSysColor(COLOR_BTNFACE);
}

HBRUSH TContainer::BackBrush() const {
  if (Form().brush_) return Form().brush_.get();
  return ::GetSysColorBrush(COLOR_BTNFACE);  // system brush: borrowed
}

void TContainer::Realign(TControl* cause) {
  if (aligning_ || !Form().Loaded() || !Handle()) return;
  aligning_ = true;
  std::vector<DockChild> items;
  items.reserve(children_.size());
  std::optional<size_t> causeIndex;
  for (size_t i = 0; i < children_.size(); ++i) {
    const TControl* c = children_[i];
    items.push_back(DockChild{c->Bounds(), c->align_, c->Visible()});
    if (c == cause) causeIndex = i;
  }
  DockLayout(DockArea(), items, causeIndex);
  try {
    for (size_t i = 0; i < children_.size(); ++i) children_[i]->PlaceDocked(items[i].bounds);
  } catch (...) {
    aligning_ = false;
    throw;
  }
  aligning_ = false;
}

void TContainer::CreateContainer(const WindowClass& cls, DWORD style, DWORD exStyle, HWND parent,
                                 const Rect& r, std::string_view caption) {
  HMENU id = nullptr;
  if (parent) {
    const auto& controls = Form().FormDescriptionData().controls;
    const size_t index = static_cast<size_t>(&Description() - controls.data());
    id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(index)));
  }
  HWND h = ::CreateWindowExW(exStyle, cls.name().c_str(), Wide(caption).c_str(), style, r.left,
                             r.top, r.width, r.height, parent, id, ThisModule(), this);
  if (!h) throw std::runtime_error("container window not created");
  Adopt(h);
}

LRESULT CALLBACK TContainer::ContainerProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  TContainer* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<TContainer*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_.reset(window);
  } else {
    self = reinterpret_cast<TContainer*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcW(window, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    ::RemovePropW(window, kControlProp);
    self->window_.release();  // the system destroys it
    return ::DefWindowProcW(window, msg, wp, lp);
  }
  try {
    return self->ContainerMessage(msg, wp, lp);
  } catch (...) {
    // Nothing unwinds through the system's message dispatch.
    return ::DefWindowProcW(window, msg, wp, lp);
  }
}

LRESULT TContainer::ContainerMessage(UINT msg, WPARAM wp, LPARAM lp) {
  const HWND h = Handle();
  switch (msg) {
    // A multi-line edit in a dialog asks its parent to move the focus on Tab and to close on
    // Esc. Inside a panel or a tab sheet that parent is not the form: the form answers both,
    // and a container is never closed on its own.
    case WM_NEXTDLGCTL:
      if (&Form() != this && Form().Handle()) return ::SendMessageW(Form().Handle(), msg, wp, lp);
      break;
    case WM_CLOSE:
      if (&Form() != this && Form().Handle()) {
        ::PostMessageW(Form().Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
      }
      return 0;
    case WM_COMMAND:
      if (TWinControl* c = FromHandle(reinterpret_cast<HWND>(lp))) {
        c->Command(HIWORD(wp));
        return 0;
      }
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      if (TWinControl* c = FromHandle(header->hwndFrom)) return c->Notify(header);
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      if (TWinControl* c = FromHandle(reinterpret_cast<HWND>(lp))) {
        if (HBRUSH brush = c->ControlColor(reinterpret_cast<HDC>(wp))) {
          return reinterpret_cast<LRESULT>(brush);
        }
      }
      break;
    case WM_ERASEBKGND: {
      RECT rc{};
      ::GetClientRect(h, &rc);
      ::FillRect(reinterpret_cast<HDC>(wp), &rc, BackBrush());
      return 1;
    }
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SIZE:
      Realign();
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(h, msg, wp, lp);
}

void TContainer::Paint() {
  PAINTSTRUCT ps{};
  HDC dc = ::BeginPaint(Handle(), &ps);
  for (TControl* c : children_) {
    auto* g = dynamic_cast<TGraphicControl*>(c);
    if (!g || !g->Visible()) continue;
    const RECT bounds = ToRECT(g->Bounds());
    RECT overlap{};
    if (!::IntersectRect(&overlap, &bounds, &ps.rcPaint)) continue;
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    g->Paint(dc);
    ::RestoreDC(dc, saved);
  }
  ::EndPaint(Handle(), &ps);
}

// ---- containers

TPanel::TPanel(TForm& form, const ControlDescription& d, TContainer* parent)
    : TContainer(form, d, parent) {
  DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (Visible()) style |= WS_VISIBLE;
  if (!Enabled()) style |= WS_DISABLED;
  CreateContainer(form.PanelClass(), style, WS_EX_CONTROLPARENT, ParentWindow(), Bounds(), "");
}

TTabSheet::TTabSheet(TForm& form, const ControlDescription& d, TPageControl& pages)
    : TContainer(form, d, nullptr) {
  DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (Visible()) style |= WS_VISIBLE;  // the page control hides all but the active one
  CreateContainer(form.PanelClass(), style, WS_EX_CONTROLPARENT, pages.PageParent(), Bounds(), "");
  pages.AddPage(*this);
}

TPageControl::TPageControl(TForm& form, const ControlDescription& d, TContainer* parent)
    : TWinControl(form, d, parent) {
  DWORD style = WS_CLIPCHILDREN;
  if (d.options & kMultiLineTabs) style |= TCS_MULTILINE;
  CreateStandard(WC_TABCONTROLW, style, WS_EX_CONTROLPARENT);
}

void TPageControl::AddPage(TTabSheet& sheet) {
  std::wstring caption = Wide(sheet.Caption());
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = caption.data();
  ::SendMessageW(Handle(), TCM_INSERTITEMW, pages_.size(), reinterpret_cast<LPARAM>(&item));
  pages_.push_back(&sheet);
  if (active_ < 0) {
    SetActivePageIndex(0);
  } else {
    sheet.SetVisible(false);
    LayoutPages();
  }
}

void TPageControl::SetActivePageIndex(int index) {
  if (index < 0 || index >= PageCount()) return;
  ::SendMessageW(Handle(), TCM_SETCURSEL, index, 0);
  active_ = index;
  LayoutPages();
  for (int i = 0; i < PageCount(); ++i) pages_[i]->SetVisible(i == index);
}

void TPageControl::TurnTo(int index) {
  SetActivePageIndex(index);
  Change();
}

void TPageControl::LayoutPages() {
  RECT rc{};
  ::GetClientRect(Handle(), &rc);
  ::SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rc));
  const Rect area{rc.left, rc.top, std::max(0L, rc.right - rc.left) + 0,
                  std::max(0L, rc.bottom - rc.top) + 0};
  for (TTabSheet* page : pages_) page->PlaceDocked(area);
}

LRESULT TPageControl::Notify(NMHDR* header) {
  if (header->code == TCN_SELCHANGE) {
    const int index = static_cast<int>(::SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
    SetActivePageIndex(index);
    Change();
  }
  return 0;
}

bool TPageControl::Message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_SIZE) {
    result = ::DefSubclassProc(Handle(), msg, wp, lp);
    LayoutPages();
    return true;
  }
  return TWinControl::Message(msg, wp, lp, result);
}

// ---- buttons and edits

TButton::TButton(TForm& form, const ControlDescription& d, TContainer* parent)
    : TWinControl(form, d, parent) {
  DWORD style = (d.options & kDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if (d.tabOrder >= 0) style |= WS_TABSTOP;
  CreateStandard(WC_BUTTONW, style, 0);
}

void TButton::ShowAsDefault(bool on) {
  const LONG_PTR style = ::GetWindowLongPtrW(Handle(), GWL_STYLE) & 0x0F;
  const LONG_PTR wanted = on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if (style != wanted) ::SendMessageW(Handle(), BM_SETSTYLE, wanted, TRUE);
}

void TButton::Press() {
  if (!Enabled()) return;
  const int result = ModalResult();
  Click();
  if (result != 0) Form().SetModalResult(result);
}

void TButton::Command(WORD code) {
  if (code == BN_CLICKED) Press();
}

TEdit::TEdit(TForm& form, const ControlDescription& d, TContainer* parent)
    : TEdit(form, d, parent, ES_AUTOHSCROLL) {}

TEdit::TEdit(TForm& form, const ControlDescription& d, TContainer* parent, DWORD style)
    : TWinControl(form, d, parent) {
  if (d.options & kReadOnly) style |= ES_READONLY;
  if (d.tabOrder >= 0) style |= WS_TABSTOP;
  Quietly([&] { CreateStandard(WC_EDITW, style, (d.options & kNoBorder) ? 0 : WS_EX_CLIENTEDGE); });
  // No typing limit below what a settings value can hold (the standard one is 30,000).
  ::SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
}

std::string TEdit::Text() const {
  const int n = ::GetWindowTextLengthW(Handle());
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  const int got = ::GetWindowTextW(Handle(), text.data(), n + 1);
  text.resize(static_cast<size_t>(std::max(got, 0)));
  // Text shown as it was set gives back the bytes it was set from: not every byte string
  // survives the trip through UTF-16.
  if (set_ && Wide(*set_) == text) return *set_;
  return Narrow(text);
}

void TEdit::SetText(std::string_view text) {
  set_ = std::string(text);
  Quietly([&] { SetCaption(text); });
}

void TEdit::SelectAll() {
  ::SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

void TEdit::Command(WORD code) {
  if (code == EN_CHANGE && !quiet()) Change();
}

HBRUSH TEdit::ControlColor(HDC dc) {
  if (!(Description().options & kParentColor) || !Parent()) return nullptr;
  ::SetBkColor(dc, Parent()->BackColor());
  return Parent()->BackBrush();
}

TMemo::TMemo(TForm& form, const ControlDescription& d, TContainer* parent)
    : TEdit(form, d, parent,
            ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL |
                ((d.options & kWordWrap) ? 0 : ES_AUTOHSCROLL) |
                ((d.options & kVScroll) ? WS_VSCROLL : 0) |
                ((d.options & kHScroll) ? WS_HSCROLL : 0)) {}

TListBox::TListBox(TForm& form, const ControlDescription& d, TContainer* parent)
    : TWinControl(form, d, parent) {
  DWORD style = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
  if (d.tabOrder >= 0) style |= WS_TABSTOP;
  CreateStandard(WC_LISTBOXW, style, WS_EX_CLIENTEDGE);
}

int TListBox::Count() const {
  return static_cast<int>(::SendMessageW(Handle(), LB_GETCOUNT, 0, 0));
}

void TListBox::Add(std::string_view item) {
  items_.emplace_back(item);
  ::SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
}

void TListBox::Delete(int index) {
  if (index >= 0 && static_cast<size_t>(index) < items_.size()) {
    items_.erase(items_.begin() + index);
  }
  ::SendMessageW(Handle(), LB_DELETESTRING, index, 0);
}

void TListBox::Clear() {
  items_.clear();
  ::SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
}

std::string TListBox::Item(int index) const {
  if (index >= 0 && static_cast<size_t>(index) < items_.size() &&
      items_.size() == static_cast<size_t>(Count())) {
    return items_[static_cast<size_t>(index)];
  }
  const LRESULT n = ::SendMessageW(Handle(), LB_GETTEXTLEN, index, 0);
  if (n == LB_ERR) return {};
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  const LRESULT got =
      ::SendMessageW(Handle(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
  return Narrow(text);
}

void TListBox::SetItem(int index, std::string_view item) {
  if (index < 0 || index >= Count()) return;
  const int selected = ItemIndex();
  Delete(index);
  ::SendMessageW(Handle(), LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(Wide(item).c_str()));
  items_.insert(items_.begin() + index, std::string(item));
  if (selected == index) SetItemIndex(index);
}

int TListBox::ItemIndex() const {
  const LRESULT i = ::SendMessageW(Handle(), LB_GETCURSEL, 0, 0);
  return i == LB_ERR ? -1 : static_cast<int>(i);
}

void TListBox::SetItemIndex(int index) {
  ::SendMessageW(Handle(), LB_SETCURSEL, index, 0);
}

void TListBox::Command(WORD code) {
  if (code == LBN_SELCHANGE) Click();
}

TCheckBox::TCheckBox(TForm& form, const ControlDescription& d, TContainer* parent)
    : TWinControl(form, d, parent) {
  DWORD style = BS_AUTOCHECKBOX;
  if (d.tabOrder >= 0) style |= WS_TABSTOP;
  CreateStandard(WC_BUTTONW, style, 0);
  if (d.options & kChecked) SetChecked(true);
}

bool TCheckBox::Checked() const {
  return ::SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool on) {
  ::SendMessageW(Handle(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::Command(WORD code) {
  if (code == BN_CLICKED) Click();
}

HBRUSH TCheckBox::ControlColor(HDC dc) {
  if (!Parent()) return nullptr;
  ::SetBkColor(dc, Parent()->BackColor());
  return Parent()->BackBrush();
}

TRadioButton::TRadioButton(TForm& form, const ControlDescription& d, TContainer* parent)
    : TWinControl(form, d, parent) {
  CreateStandard(WC_BUTTONW, BS_RADIOBUTTON, 0);
  SetChecked((d.options & kChecked) != 0);
}

bool TRadioButton::Checked() const {
  return ::SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TRadioButton::SetChecked(bool on) {
  ::SendMessageW(Handle(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  if (on && Parent()) {
    for (TControl* c : Parent()->Children()) {
      auto* radio = dynamic_cast<TRadioButton*>(c);
      if (radio && radio != this && radio->Handle()) {
        ::SendMessageW(radio->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
      }
    }
  }
  UpdateTabStops();
}

void TRadioButton::UpdateTabStops() {
  if (!Parent()) return;
  std::vector<TRadioButton*> group;
  bool anyChecked = false;
  for (TControl* c : Parent()->Children()) {
    if (auto* radio = dynamic_cast<TRadioButton*>(c); radio && radio->Handle()) {
      group.push_back(radio);
      anyChecked = anyChecked || radio->Checked();
    }
  }
  for (size_t i = 0; i < group.size(); ++i) {
    group[i]->SetTabStop(anyChecked ? group[i]->Checked() : i == 0);
  }
}

void TRadioButton::Command(WORD code) {
  if (code != BN_CLICKED || Checked()) return;
  SetChecked(true);
  Click();
}

HBRUSH TRadioButton::ControlColor(HDC dc) {
  if (!Parent()) return nullptr;
  ::SetBkColor(dc, Parent()->BackColor());
  return Parent()->BackBrush();
}

// ---- TSplitter

TSplitter::TSplitter(TForm& form, const ControlDescription& d, TContainer* parent)
    : TWinControl(form, d, parent), class_(L"TSplitter", &TSplitter::SplitterProc, 0) {
  const WORD halftone[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  pattern_.reset(::CreateBitmap(8, 8, 1, 1, halftone));
  brush_.reset(::CreatePatternBrush(pattern_.get()));
  const auto& controls = form.FormDescriptionData().controls;
  const size_t index = static_cast<size_t>(&d - controls.data());
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (Visible()) style |= WS_VISIBLE;
  const Rect& b = Bounds();
  HWND h = ::CreateWindowExW(
      0, class_.name().c_str(), L"", style, b.left, b.top, b.width, b.height, ParentWindow(),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(index))), ThisModule(), this);
  if (!h) throw std::runtime_error("splitter window not created");
  Adopt(h);
}

TSplitter::~TSplitter() {
  if (dragging_) EndDrag(false);
  Detach();
  window_.reset();
}

LRESULT CALLBACK TSplitter::SplitterProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  TSplitter* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<TSplitter*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_.reset(window);
  } else {
    self = reinterpret_cast<TSplitter*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcW(window, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    ::RemovePropW(window, kControlProp);
    self->window_.release();
    return ::DefWindowProcW(window, msg, wp, lp);
  }
  try {
    LRESULT result = 0;
    if (self->Message(msg, wp, lp, result)) return result;
  } catch (...) {
    // Nothing unwinds through the system's message dispatch.
  }
  return ::DefWindowProcW(window, msg, wp, lp);
}

bool TSplitter::Message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  const bool horizontal = Align() == alLeft || Align() == alRight;
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
  std::vector<DockChild> items;
  size_t self = 0;
  const auto& children = parent->Children();
  for (size_t i = 0; i < children.size(); ++i) {
    if (children[i] == this) self = i;
    items.push_back(DockChild{children[i]->Bounds(),
                              children[i]->Description().align.value_or(alNone),
                              children[i]->Visible()});
  }
  // The docking in force, not only the described one.
  for (size_t i = 0; i < children.size(); ++i) {
    if (auto* s = dynamic_cast<TSplitter*>(children[i])) items[i].align = s->Align();
  }
  items[self].align = Align();
  const auto target = SplitterTarget(items, self);
  if (!target) return;
  const bool horizontal = Align() == alLeft || Align() == alRight;
  const Rect area = parent->DockArea();
  target_ = children[*target];
  range_ = SplitterRange(items, self, *target, horizontal ? area.width : area.height);
  start_ = at;
  newSize_ = horizontal ? target_->Bounds().width : target_->Bounds().height;
  bar_ = SplitterBar(items[*target], items[self], newSize_);
  previousFocus_ = ::GetFocus();
  dragging_ = true;
  ::SetCapture(Handle());
  ::SetFocus(Handle());
  DrawBar();
}

void TSplitter::MoveDrag(POINT at) {
  const bool horizontal = Align() == alLeft || Align() == alRight;
  const int delta = horizontal ? at.x - start_.x : at.y - start_.y;
  const DockChild target{target_->Bounds(), Align(), true};
  const int size = SplitterNewSize(target, Align(), delta, range_);
  if (size == newSize_) return;
  DrawBar();  // off
  newSize_ = size;
  bar_ = SplitterBar(target, DockChild{Bounds(), Align(), true}, newSize_);
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
  if (Align() == alLeft || Align() == alRight) {
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

// ---- TForm

namespace {

DWORD FormStyle(const FormDescription& d, DWORD& exStyle) {
  DWORD style = WS_CLIPCHILDREN;
  exStyle = WS_EX_CONTROLPARENT;
  switch (d.borderStyle) {
    case BorderStyle::bsNone:
      style |= WS_POPUP;
      break;
    case BorderStyle::bsSingle:
      style |= WS_CAPTION | WS_BORDER;
      break;
    case BorderStyle::bsSizeable:
      style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case BorderStyle::bsDialog:
      style |= WS_POPUP | WS_CAPTION | WS_DLGFRAME;
      exStyle |= WS_EX_DLGMODALFRAME;
      break;
    case BorderStyle::bsToolWindow:
      style |= WS_CAPTION;
      exStyle |= WS_EX_TOOLWINDOW;
      break;
    case BorderStyle::bsSizeToolWin:
      style |= WS_CAPTION | WS_THICKFRAME;
      exStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (d.borderStyle != BorderStyle::bsNone && (d.borderIcons & kBiSystemMenu)) {
    style |= WS_SYSMENU;
    if (d.borderStyle != BorderStyle::bsDialog && d.borderStyle != BorderStyle::bsToolWindow &&
        d.borderStyle != BorderStyle::bsSizeToolWin) {
      if (d.borderIcons & kBiMinimize) style |= WS_MINIMIZEBOX;
      if (d.borderIcons & kBiMaximize) style |= WS_MAXIMIZEBOX;
    }
  }
  return style;
}

ControlDescription FormEntry(const FormDescription& d) {
  ControlDescription self;
  self.name = d.name;
  self.caption = d.caption;
  self.bounds = Rect{d.origin.x, d.origin.y, d.size.width, d.size.height};
  self.options = kHidden;
  return self;
}

struct DisabledWindows {
  HWND keep;                  // borrowed: the modal form
  std::vector<HWND> windows;  // borrowed: the thread's windows this form disabled
};

BOOL CALLBACK DisableOne(HWND window, LPARAM data) {
  auto* d = reinterpret_cast<DisabledWindows*>(data);
  if (window != d->keep && ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
    ::EnableWindow(window, FALSE);
    d->windows.push_back(window);
  }
  return TRUE;
}

// Enables again, on every path, what a modal form disabled.
class ModalWindowsGuard {
 public:
  explicit ModalWindowsGuard(HWND form) : disabled_{form, {}} {
    ::EnumThreadWindows(::GetCurrentThreadId(), &DisableOne, reinterpret_cast<LPARAM>(&disabled_));
  }
  ~ModalWindowsGuard() { Restore(); }
  ModalWindowsGuard(const ModalWindowsGuard&) = delete;
  ModalWindowsGuard& operator=(const ModalWindowsGuard&) = delete;
  void Restore() {
    for (HWND w : disabled_.windows) {
      if (::IsWindow(w)) ::EnableWindow(w, TRUE);
    }
    disabled_.windows.clear();
  }

 private:
  DisabledWindows disabled_;
};

}  // namespace

TForm::TForm(const FormDescription& d)
    : detail::FormSelf{FormEntry(d)}, TContainer(*this, self, nullptr), form_(d) {}

TForm::~TForm() {
  if (OnDestroy) {
    try {
      OnDestroy();
    } catch (...) {
    }
  }
  while (!controls_.empty()) controls_.pop_back();
  Detach();
  window_.reset();
}

void TForm::Load(const HandlerTable& handlers) {
  ActivationScope activation;
  class_ = WindowClass(Wide(form_.className), &TContainer::ContainerProc, CS_DBLCLKS);
  panelClass_ = WindowClass(L"TPanel", &TContainer::ContainerProc, CS_DBLCLKS);

  LOGFONTW lf{};
  lf.lfHeight = -form_.font.height;
  lf.lfCharSet = static_cast<BYTE>(form_.font.charset);
  lf.lfWeight = FW_NORMAL;
  const std::wstring face = Wide(form_.font.face);
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  font_.reset(::CreateFontIndirectW(&lf));
  if (form_.color) brush_.reset(::CreateSolidBrush(*form_.color));

  DWORD exStyle = 0;
  const DWORD style = FormStyle(form_, exStyle);
  Rect r = Bounds();
  if (form_.clientSize) {
    RECT rc{0, 0, form_.clientSize->width, form_.clientSize->height};
    ::AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    r.width = rc.right - rc.left;
    r.height = rc.bottom - rc.top;
  }
  CreateContainer(class_, style, exStyle, nullptr, r, Caption());
  StoreBounds(WindowBounds(Handle()));

  CreateControls();
  BindHandlers(handlers);
  loaded_ = true;
  Realign();
  for (const auto& c : controls_) {
    if (auto* container = dynamic_cast<TContainer*>(c.get())) container->Realign();
    if (auto* pages = dynamic_cast<TPageControl*>(c.get())) pages->LayoutPages();
  }
  if (OnCreate) OnCreate();
}

void TForm::CreateControls() {
  for (const ControlDescription& d : form_.controls) {
    TControl* parentControl =
        d.parent.empty() ? static_cast<TControl*>(this) : FindControl(d.parent);
    if (!parentControl) throw std::runtime_error("control parent missing");
    auto* parent = dynamic_cast<TContainer*>(parentControl);
    std::unique_ptr<TControl> c;
    switch (d.kind) {
      case ControlKind::kPanel:
        c = std::make_unique<TPanel>(*this, d, parent);
        break;
      case ControlKind::kPageControl:
        c = std::make_unique<TPageControl>(*this, d, parent);
        break;
      case ControlKind::kTabSheet: {
        auto* pages = dynamic_cast<TPageControl*>(parentControl);
        if (!pages) throw std::runtime_error("tab sheet outside a page control");
        c = std::make_unique<TTabSheet>(*this, d, *pages);
        break;
      }
      case ControlKind::kLabel:
        c = std::make_unique<TLabel>(*this, d, parent);
        break;
      case ControlKind::kButton:
        c = std::make_unique<TButton>(*this, d, parent);
        break;
      case ControlKind::kEdit:
        c = std::make_unique<TEdit>(*this, d, parent);
        break;
      case ControlKind::kMemo:
        c = std::make_unique<TMemo>(*this, d, parent);
        break;
      case ControlKind::kListBox:
        c = std::make_unique<TListBox>(*this, d, parent);
        break;
      case ControlKind::kCheckBox:
        c = std::make_unique<TCheckBox>(*this, d, parent);
        break;
      case ControlKind::kRadioButton:
        c = std::make_unique<TRadioButton>(*this, d, parent);
        break;
      case ControlKind::kAlignableCheckBox:
        c = std::make_unique<TAlignableCheckBox>(*this, d, parent);
        break;
      case ControlKind::kAlignableRadioButton:
        c = std::make_unique<TAlignableRadioButton>(*this, d, parent);
        break;
      case ControlKind::kSplitter:
        c = std::make_unique<TSplitter>(*this, d, parent);
        break;
      case ControlKind::kImage:
        c = std::make_unique<TImage>(*this, d, parent);
        break;
      case ControlKind::kBevel:
        c = std::make_unique<TBevel>(*this, d, parent);
        break;
    }
    if (!parent && d.kind != ControlKind::kTabSheet)
      throw std::runtime_error("parent holds no controls");
    if (auto* b = dynamic_cast<TButton*>(c.get())) {
      if (b->IsDefault()) defaultButton_ = b;
      if (b->IsCancel()) cancelButton_ = b;
    }
    byName_[d.name] = c.get();
    controls_.push_back(std::move(c));
  }

  // Z order is tab order: the tab stops first, by their place, then the rest in description
  // order. A run of radio buttons forms one group; every other control starts a group.
  std::map<HWND, std::vector<TWinControl*>> siblings;
  for (const auto& c : controls_) {
    if (auto* w = dynamic_cast<TWinControl*>(c.get()); w && w->Handle()) {
      siblings[::GetParent(w->Handle())].push_back(w);
    }
  }
  for (auto& [parent, list] : siblings) {
    std::stable_sort(list.begin(), list.end(), [](TWinControl* a, TWinControl* b) {
      const int ta = a->Description().tabOrder < 0 ? INT_MAX : a->Description().tabOrder;
      const int tb = b->Description().tabOrder < 0 ? INT_MAX : b->Description().tabOrder;
      return ta < tb;
    });
    HWND after = HWND_TOP;
    bool previousRadio = false;
    for (TWinControl* w : list) {
      ::SetWindowPos(w->Handle(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      after = w->Handle();
      const bool radio = dynamic_cast<TRadioButton*>(w) != nullptr;
      LONG_PTR style = ::GetWindowLongPtrW(w->Handle(), GWL_STYLE);
      if (radio && previousRadio) {
        style &= ~static_cast<LONG_PTR>(WS_GROUP);
      } else {
        style |= WS_GROUP;
      }
      ::SetWindowLongPtrW(w->Handle(), GWL_STYLE, style);
      previousRadio = radio;
    }
  }
}

bool TForm::TurnPage(int step) {
  for (const auto& c : controls_) {
    auto* pages = dynamic_cast<TPageControl*>(c.get());
    if (!pages || pages->PageCount() == 0 || !pages->Visible()) continue;
    const int count = pages->PageCount();
    pages->TurnTo(((pages->ActivePageIndex() + step) % count + count) % count);
    ::SetFocus(pages->Handle());  // the focused control may be on the page just hidden
    return true;
  }
  return false;
}

TControl* TForm::FindControl(std::string_view name) const {
  auto it = byName_.find(name);
  return it == byName_.end() ? nullptr : it->second;
}

void TForm::BindHandlers(const HandlerTable& handlers) {
  auto lookup = [&](std::string_view name) -> Handler {
    if (name.empty()) return nullptr;
    auto it = handlers.find(name);
    if (it == handlers.end()) throw std::runtime_error("form description names an unknown handler");
    return it->second;
  };
  for (const auto& c : controls_) {
    if (Handler h = lookup(c->Description().onClick)) c->OnClick = [h](TControl&) { h(); };
    if (Handler h = lookup(c->Description().onChange)) c->OnChange = [h](TControl&) { h(); };
  }
  OnCreate = lookup(form_.onCreate);
  OnShow = lookup(form_.onShow);
  OnClose = lookup(form_.onClose);
  OnDestroy = lookup(form_.onDestroy);
  OnResize = lookup(form_.onResize);
}

void TForm::MoveTo(int left, int top) {
  SetBounds({left, top, Bounds().width, Bounds().height});
}

Size TForm::ClientSize() const {
  const Rect area = DockArea();
  return Size{area.width, area.height};
}

void TForm::SetClientSize(Size s) {
  const Size client = ClientSize();
  const Rect& b = Bounds();
  SetBounds({b.left, b.top, b.width - client.width + s.width, b.height - client.height + s.height});
}

void TForm::ApplyBounds(const Rect&) {
  if (!Handle()) return;
  const Rect b = Bounds();
  ::SetWindowPos(Handle(), nullptr, b.left, b.top, b.width, b.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  StoreBounds(WindowBounds(Handle()));
}

void TForm::ApplyCaption() {
  if (Handle()) ::SetWindowTextW(Handle(), Wide(Caption()).c_str());
}

void TForm::ApplyVisible() {
  if (!Handle()) return;
  if (Visible()) {
    ::ShowWindow(Handle(), state_ == WindowState::kMaximized   ? SW_SHOWMAXIMIZED
                           : state_ == WindowState::kMinimized ? SW_SHOWMINIMIZED
                                                               : SW_SHOWNORMAL);
  } else {
    ::ShowWindow(Handle(), SW_HIDE);
  }
}

void TForm::SetState(WindowState s) {
  state_ = s;
  if (!Handle() || !::IsWindowVisible(Handle())) return;
  ::ShowWindow(Handle(), s == WindowState::kMaximized   ? SW_MAXIMIZE
                         : s == WindowState::kMinimized ? SW_MINIMIZE
                                                        : SW_RESTORE);
}

void TForm::SetIcon(HICON icon) {
  bigIcon_.reset();
  smallIcon_.reset();
  if (icon) {
    auto copy = [icon](int cx, int cy) {
      HANDLE h = ::CopyImage(icon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE);
      if (!h) h = ::CopyImage(icon, IMAGE_ICON, cx, cy, 0);
      return static_cast<HICON>(h);
    };
    bigIcon_.reset(copy(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)));
    smallIcon_.reset(copy(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)));
  }
  ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

void TForm::SetModalResult(int result) {
  modalResult_ = result;
  // Wakes the modal loop when this came from a message sent by another thread.
  if (Handle()) ::PostMessageW(Handle(), WM_NULL, 0, 0);
}

void TForm::Close() {
  if (inModal_) {
    SetModalResult(kModalCancel);
  } else {
    if (OnClose) OnClose();
    SetVisible(false);
  }
}

void TForm::CancelPressed() {
  if (cancelButton_ && cancelButton_->Enabled() && cancelButton_->Visible()) cancelButton_->Press();
}

void TForm::FocusMoved(TWinControl* control) {
  auto* focused = dynamic_cast<TButton*>(control);
  for (const auto& c : controls_) {
    if (auto* b = dynamic_cast<TButton*>(c.get())) {
      b->ShowAsDefault(focused ? b == focused : b == defaultButton_);
    }
  }
}

void TForm::FocusFirst() {
  HWND target = nullptr;
  if (lastFocus_ && ::IsWindow(lastFocus_) && ::IsChild(Handle(), lastFocus_) &&
      ::IsWindowVisible(lastFocus_) && ::IsWindowEnabled(lastFocus_)) {
    target = lastFocus_;
  } else {
    target = ::GetNextDlgTabItem(Handle(), nullptr, FALSE);
  }
  if (!target) return;
  ::SetFocus(target);
  if (auto* edit = dynamic_cast<TEdit*>(FromHandle(target))) edit->SelectAll();
}

void TForm::ShowForModal() {
  if (OnShow) OnShow();
  if (form_.position == FormPosition::poScreenCenter) {
    const Size screen = ScreenSize();
    MoveTo((screen.width - Bounds().width) / 2, (screen.height - Bounds().height) / 2);
  }
  SetVisible(true);
  ::SetForegroundWindow(Handle());
  FocusFirst();
  ::UpdateWindow(Handle());
}

int TForm::ShowModal() {
  if (inModal_ || !Handle()) return kModalCancel;
  const HWND previousActive = ::GetActiveWindow();  // borrowed
  ModalWindowsGuard disabled(Handle());
  modalResult_ = 0;
  inModal_ = true;
  struct ModalFlag {
    bool& flag;
    ~ModalFlag() { flag = false; }
  } modalFlag{inModal_};

  ShowForModal();
  MSG msg{};
  while (modalResult_ == 0) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop that owns the thread
      modalResult_ = kModalCancel;
      break;
    }
    if (got < 0 || !Handle()) {
      modalResult_ = kModalCancel;
      break;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB &&
        (::GetKeyState(VK_CONTROL) & 0x8000) != 0 &&
        TurnPage((::GetKeyState(VK_SHIFT) & 0x8000) != 0 ? -1 : 1)) {
      continue;
    }
    if (!::IsDialogMessageW(Handle(), &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  const int result = modalResult_;
  if (OnClose) OnClose();
  disabled.Restore();
  SetVisible(false);
  if (previousActive && ::IsWindow(previousActive)) ::SetActiveWindow(previousActive);
  return result;
}

LRESULT TForm::ContainerMessage(UINT msg, WPARAM wp, LPARAM lp) {
  const HWND h = Handle();
  switch (msg) {
    case WM_SIZE:
      if (::IsWindowVisible(h)) {
        state_ = wp == SIZE_MAXIMIZED   ? WindowState::kMaximized
                 : wp == SIZE_MINIMIZED ? WindowState::kMinimized
                                        : WindowState::kNormal;
      }
      StoreBounds(WindowBounds(h));
      Realign();
      if (loaded_ && OnResize && wp != SIZE_MINIMIZED) OnResize();
      return 0;
    case WM_MOVE:
      StoreBounds(WindowBounds(h));
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_NEXTDLGCTL: {
      HWND next = LOWORD(lp) ? reinterpret_cast<HWND>(wp)  // borrowed
                             : ::GetNextDlgTabItem(h, ::GetFocus(), wp != 0);
      if (next && ::IsChild(h, next)) {
        ::SetFocus(next);
        if (auto* edit = dynamic_cast<TEdit*>(FromHandle(next))) edit->SelectAll();
      }
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        const HWND focus = ::GetFocus();
        if (focus && ::IsChild(h, focus)) lastFocus_ = focus;
      } else if (!restoringFocus_ && lastFocus_ && ::IsWindow(lastFocus_) &&
                 ::IsChild(h, lastFocus_) && !::IsChild(h, ::GetFocus())) {
        // Setting the focus may activate the form again: once is enough.
        restoringFocus_ = true;
        ::SetFocus(lastFocus_);
        restoringFocus_ = false;
      }
      return 0;
    case DM_GETDEFID:
      if (defaultButton_ && defaultButton_->Enabled() && defaultButton_->Handle()) {
        return MAKELRESULT(::GetDlgCtrlID(defaultButton_->Handle()), DC_HASDEFID);
      }
      return 0;
    case WM_COMMAND:
      if (lp == 0 || !FromHandle(reinterpret_cast<HWND>(lp))) {
        if (LOWORD(wp) == IDCANCEL) CancelPressed();
        return 0;
      }
      break;
    default:
      break;
  }
  return TContainer::ContainerMessage(msg, wp, lp);
}

std::optional<NormalRect> FormPlacement::Placement() {
  WINDOWPLACEMENT wp{};
  wp.length = 44;
  static_assert(sizeof(WINDOWPLACEMENT) == 44);
  if (!form_.Handle() || !::GetWindowPlacement(form_.Handle(), &wp)) return std::nullopt;
  const RECT& r = wp.rcNormalPosition;
  return NormalRect{r.left, r.top, r.right, r.bottom};
}

}  // namespace zv::ui::win
