#include "ui/containers_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "ui/form_win32.h"
#include "ui/graphic_controls_win32.h"

namespace zv::win {

// ---- TContainer

ui::Rect TContainer::DockArea() const {
  RECT rc{};
  if (Handle()) ::GetClientRect(Handle(), &rc);
  return ui::Rect{0, 0, rc.right - rc.left, rc.bottom - rc.top};
}

COLORREF TContainer::BackColor() const {
  const auto& color = Form().FormDescriptionData().color;
  return color ? *color : ::GetSysColor(COLOR_BTNFACE);
}

HBRUSH TContainer::BackBrush() const {
  if (Form().brush_) return Form().brush_.get();
  return ::GetSysColorBrush(COLOR_BTNFACE);  // system brush: borrowed
}

std::vector<ui::DockChild> TContainer::DockChildren() const {
  std::vector<ui::DockChild> items;
  items.reserve(children_.size());
  for (const TControl* c : children_)
    items.push_back(ui::DockChild{c->Bounds(), c->align_, c->Visible()});
  return items;
}

void TContainer::Realign(TControl* cause) {
  if (aligning_ || !Form().Loaded() || !Handle()) return;
  aligning_ = true;
  std::vector<ui::DockChild> items = DockChildren();
  std::optional<size_t> causeIndex;
  for (size_t i = 0; i < children_.size(); ++i) {
    if (children_[i] == cause) causeIndex = i;
  }
  ui::DockLayout(DockArea(), items, causeIndex);
  try {
    for (size_t i = 0; i < children_.size(); ++i) children_[i]->PlaceDocked(items[i].bounds);
  } catch (...) {
    aligning_ = false;
    throw;
  }
  aligning_ = false;
}

void TContainer::CreatePane(HWND parent) {
  CreateChild(Form().PanelClass().name().c_str(), false, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
              parent, "");
}

bool TContainer::Message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  const HWND h = Handle();
  switch (msg) {
    // A multi-line edit in a dialog asks its parent to move the focus on Tab and to close on
    // Esc. Inside a panel or a tab sheet that parent is not the form: the form answers both,
    // and a container is never closed on its own.
    case WM_NEXTDLGCTL:
      if (&Form() != this && Form().Handle()) return Answer(result, ::SendMessageW(Form().Handle(), msg, wp, lp));
      break;
    case WM_CLOSE:
      if (&Form() != this && Form().Handle()) {
        ::PostMessageW(Form().Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
      }
      return Answer(result, 0);
    case WM_COMMAND:
      if (TWinControl* c = FromHandle(reinterpret_cast<HWND>(lp))) {
        c->Command(HIWORD(wp));
        return Answer(result, 0);
      }
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      if (TWinControl* c = FromHandle(header->hwndFrom)) return Answer(result, c->Notify(header));
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      if (TWinControl* c = FromHandle(reinterpret_cast<HWND>(lp))) {
        if (HBRUSH brush = c->ControlColor(reinterpret_cast<HDC>(wp))) {
          return Answer(result, reinterpret_cast<LRESULT>(brush));
        }
      }
      break;
    case WM_ERASEBKGND: {
      RECT rc{};
      ::GetClientRect(h, &rc);
      ::FillRect(reinterpret_cast<HDC>(wp), &rc, BackBrush());
      return Answer(result, 1);
    }
    case WM_PAINT:
      Paint();
      return Answer(result, 0);
    case WM_SIZE:
      Realign();
      return Answer(result, 0);
    default:
      break;
  }
  return false;
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

TPanel::TPanel(TForm& form, const ui::ControlDescription& d, TContainer* parent)
    : TContainer(form, d, parent) {
  CreatePane(ParentWindow());
}

TTabSheet::TTabSheet(TForm& form, const ui::ControlDescription& d, TPageControl& pages)
    : TContainer(form, d, nullptr) {
  CreatePane(pages.PageParent());  // the page control hides all but the active one
  pages.AddPage(*this);
}

TPageControl::TPageControl(TForm& form, const ui::ControlDescription& d, TContainer* parent)
    : TWinControl(form, d, parent) {
  DWORD style = WS_CLIPCHILDREN;
  if (d.options & ui::kMultiLineTabs) style |= TCS_MULTILINE;
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
  const ui::Rect area{rc.left, rc.top, std::max(0L, rc.right - rc.left) + 0,
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
    result = DefaultMessage(msg, wp, lp);
    LayoutPages();
    return true;
  }
  return TWinControl::Message(msg, wp, lp, result);
}

}  // namespace zv::win
