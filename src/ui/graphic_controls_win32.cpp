#include "ui/graphic_controls_win32.h"

#include "ui/form_win32.h"

namespace zv::win {

TLabel::TLabel(TForm& form, const ui::ControlDescription& d, TContainer* parent)
    : TGraphicControl(form, d, parent) {
  if (d.options & ui::kAutoSize) AutoSize();
}

ui::Size TLabel::TextExtent() const {
  WindowDc screen(nullptr);
  SelectScope font(screen.get(), Form().Font());
  const std::wstring text = Wide(Caption().empty() ? std::string_view(" ") : Caption());
  RECT rc{0, 0, 0, 0};
  ::DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &rc,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
  return ui::Size{Caption().empty() ? 0 : rc.right - rc.left, rc.bottom - rc.top};
}

void TLabel::AutoSize() {
  const ui::Size extent = TextExtent();
  ui::Rect r = Bounds();
  const ui::TAlign a = Align();
  if (a != ui::alTop && a != ui::alBottom && a != ui::alClient) r.width = extent.width;
  if (a != ui::alLeft && a != ui::alRight && a != ui::alClient) r.height = extent.height;
  SetBounds(r);
}

void TLabel::ApplyCaption() {
  if (Description().options & ui::kAutoSize) AutoSize();
  TGraphicControl::ApplyCaption();
}

void TLabel::Paint(HDC dc) {
  SelectScope font(dc, Form().Font());
  ::SetBkMode(dc, TRANSPARENT);
  const std::wstring text = Wide(Caption());
  const UINT format = DT_NOPREFIX | DT_EXPANDTABS |
                      ((Description().options & ui::kRightJustify) ? DT_RIGHT : DT_LEFT);
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
  if (icon_ && (Description().options & ui::kAutoSize)) {
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
  const ui::Rect b = Bounds();
  if (!(Description().options & ui::kBottomLine)) {
    RECT rc = ToRECT(b);
    ::DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT);
    return;
  }
  RECT shadow{b.left, b.bottom() - 2, b.right(), b.bottom() - 1};
  RECT light{b.left, b.bottom() - 1, b.right(), b.bottom()};
  ::FillRect(dc, &shadow, ::GetSysColorBrush(COLOR_BTNSHADOW));  // system brushes: borrowed
  ::FillRect(dc, &light, ::GetSysColorBrush(COLOR_BTNHIGHLIGHT));
}

}  // namespace zv::win
