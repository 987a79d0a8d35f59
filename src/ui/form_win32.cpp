#include "ui/form_win32.h"

#include <algorithm>
#include <climits>
#include <stdexcept>

#include "ui/alignable_check_box_win32.h"
#include "ui/alignable_radio_button_win32.h"
#include "ui/edits_win32.h"
#include "ui/graphic_controls_win32.h"
#include "ui/list_view_win32.h"
#include "ui/splitter_win32.h"

namespace zv::win {

namespace {

DWORD FormStyle(const ui::FormDescription& d, DWORD& exStyle) {
  DWORD style = WS_CLIPCHILDREN;
  exStyle = WS_EX_CONTROLPARENT;
  switch (d.borderStyle) {
    case ui::BorderStyle::bsNone:
      style |= WS_POPUP;
      break;
    case ui::BorderStyle::bsSingle:
      style |= WS_CAPTION | WS_BORDER;
      break;
    case ui::BorderStyle::bsSizeable:
      style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case ui::BorderStyle::bsDialog:
      style |= WS_POPUP | WS_CAPTION | WS_DLGFRAME;
      exStyle |= WS_EX_DLGMODALFRAME;
      break;
    case ui::BorderStyle::bsToolWindow:
      style |= WS_CAPTION;
      exStyle |= WS_EX_TOOLWINDOW;
      break;
    case ui::BorderStyle::bsSizeToolWin:
      style |= WS_CAPTION | WS_THICKFRAME;
      exStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (d.borderStyle != ui::BorderStyle::bsNone && (d.borderIcons & ui::kBiSystemMenu)) {
    style |= WS_SYSMENU;
    if (d.borderStyle != ui::BorderStyle::bsDialog &&
        d.borderStyle != ui::BorderStyle::bsToolWindow &&
        d.borderStyle != ui::BorderStyle::bsSizeToolWin) {
      if (d.borderIcons & ui::kBiMinimize) style |= WS_MINIMIZEBOX;
      if (d.borderIcons & ui::kBiMaximize) style |= WS_MAXIMIZEBOX;
    }
  }
  return style;
}

ui::ControlDescription FormEntry(const ui::FormDescription& d) {
  ui::ControlDescription self;
  self.name = d.name;
  self.caption = d.caption;
  self.bounds = ui::Rect{d.origin.x, d.origin.y, d.size.width, d.size.height};
  self.options = ui::kHidden;
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

TForm::TForm(const ui::FormDescription& d)
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

void TForm::Load(const HandlerTable& handlers, HWND owner) {
  ActivationScope activation;
  class_ = WindowClass(Wide(form_.className), CS_DBLCLKS);
  panelClass_ = WindowClass(L"TPanel", CS_DBLCLKS);

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
  ui::Rect r = Bounds();
  if (form_.clientSize) {
    RECT rc{0, 0, form_.clientSize->width, form_.clientSize->height};
    ::AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    r.width = rc.right - rc.left;
    r.height = rc.bottom - rc.top;
  }
  CreateHandle(class_.name().c_str(), false, style, exStyle, owner, r, Caption(), nullptr);
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
  for (const ui::ControlDescription& d : form_.controls) {
    TControl* parentControl =
        d.parent.empty() ? static_cast<TControl*>(this) : FindControl(d.parent);
    if (!parentControl) throw std::runtime_error("control parent missing");
    auto* parent = dynamic_cast<TContainer*>(parentControl);
    std::unique_ptr<TControl> c;
    switch (d.kind) {
      case ui::ControlKind::kPanel:
        c = std::make_unique<TPanel>(*this, d, parent);
        break;
      case ui::ControlKind::kPageControl:
        c = std::make_unique<TPageControl>(*this, d, parent);
        break;
      case ui::ControlKind::kTabSheet: {
        auto* pages = dynamic_cast<TPageControl*>(parentControl);
        if (!pages) throw std::runtime_error("tab sheet outside a page control");
        c = std::make_unique<TTabSheet>(*this, d, *pages);
        break;
      }
      case ui::ControlKind::kLabel:
        c = std::make_unique<TLabel>(*this, d, parent);
        break;
      case ui::ControlKind::kButton:
        c = std::make_unique<TButton>(*this, d, parent);
        break;
      case ui::ControlKind::kEdit:
        c = std::make_unique<TEdit>(*this, d, parent);
        break;
      case ui::ControlKind::kMemo:
        c = std::make_unique<TMemo>(*this, d, parent);
        break;
      case ui::ControlKind::kListBox:
        c = std::make_unique<TListBox>(*this, d, parent);
        break;
      case ui::ControlKind::kCheckBox:
        c = std::make_unique<TCheckBox>(*this, d, parent);
        break;
      case ui::ControlKind::kRadioButton:
        c = std::make_unique<TRadioButton>(*this, d, parent);
        break;
      case ui::ControlKind::kAlignableCheckBox:
        c = std::make_unique<TAlignableCheckBox>(*this, d, parent);
        break;
      case ui::ControlKind::kAlignableRadioButton:
        c = std::make_unique<TAlignableRadioButton>(*this, d, parent);
        break;
      case ui::ControlKind::kSplitter:
        c = std::make_unique<TSplitter>(*this, d, parent);
        break;
      case ui::ControlKind::kImage:
        c = std::make_unique<TImage>(*this, d, parent);
        break;
      case ui::ControlKind::kBevel:
        c = std::make_unique<TBevel>(*this, d, parent);
        break;
      case ui::ControlKind::kListView:
        c = std::make_unique<TListView>(*this, d, parent);
        break;
    }
    if (!parent && d.kind != ui::ControlKind::kTabSheet)
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

void TForm::CenterOnWindow(HWND window) {
  const ui::Size screen = ScreenSize();
  RECT rc{};
  ui::Rect target{0, 0, screen.width, screen.height};
  if (window && ::GetWindowRect(window, &rc)) {
    target = ui::Rect{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
  }
  const ui::Point p = ui::CenterOnWindow(ui::Size{Bounds().width, Bounds().height}, target, screen);
  MoveTo(p.x, p.y);
}

ui::Size TForm::ClientSize() const {
  const ui::Rect area = DockArea();
  return ui::Size{area.width, area.height};
}

void TForm::SetClientSize(ui::Size s) {
  const ui::Size client = ClientSize();
  const ui::Rect& b = Bounds();
  SetBounds({b.left, b.top, b.width - client.width + s.width, b.height - client.height + s.height});
}

void TForm::ApplyBounds(const ui::Rect&) {
  if (!Handle()) return;
  const ui::Rect b = Bounds();
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
    SetModalResult(ui::kModalCancel);
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
  if (form_.position == ui::FormPosition::poScreenCenter) {
    const ui::Size screen = ScreenSize();
    MoveTo((screen.width - Bounds().width) / 2, (screen.height - Bounds().height) / 2);
  }
  SetVisible(true);
  ::SetForegroundWindow(Handle());
  FocusFirst();
  ::UpdateWindow(Handle());
}

int TForm::ShowModal() {
  if (inModal_ || !Handle()) return ui::kModalCancel;
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
      modalResult_ = ui::kModalCancel;
      break;
    }
    if (got < 0 || !Handle()) {
      modalResult_ = ui::kModalCancel;
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

bool TForm::Message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
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
      return Answer(result, 0);
    case WM_MOVE:
      StoreBounds(WindowBounds(h));
      return Answer(result, 0);
    case WM_CLOSE:
      Close();
      return Answer(result, 0);
    case WM_NEXTDLGCTL: {
      HWND next = LOWORD(lp) ? reinterpret_cast<HWND>(wp)  // borrowed
                             : ::GetNextDlgTabItem(h, ::GetFocus(), wp != 0);
      if (next && ::IsChild(h, next)) {
        ::SetFocus(next);
        if (auto* edit = dynamic_cast<TEdit*>(FromHandle(next))) edit->SelectAll();
      }
      return Answer(result, 0);
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
      return Answer(result, 0);
    case DM_GETDEFID:
      if (defaultButton_ && defaultButton_->Enabled() && defaultButton_->Handle()) {
        return Answer(result, MAKELRESULT(::GetDlgCtrlID(defaultButton_->Handle()), DC_HASDEFID));
      }
      return Answer(result, 0);
    case WM_COMMAND:
      if (lp == 0 || !FromHandle(reinterpret_cast<HWND>(lp))) {
        if (LOWORD(wp) == IDCANCEL) CancelPressed();
        return Answer(result, 0);
      }
      break;
    default:
      break;
  }
  return TContainer::Message(msg, wp, lp, result);
}

std::optional<NormalRect> FormPlacement::Placement() {
  WINDOWPLACEMENT wp{};
  wp.length = 44;
  static_assert(sizeof(WINDOWPLACEMENT) == 44);
  if (!form_.Handle() || !::GetWindowPlacement(form_.Handle(), &wp)) return std::nullopt;
  const RECT& r = wp.rcNormalPosition;
  return NormalRect{r.left, r.top, r.right, r.bottom};
}

}  // namespace zv::win
