#include "ui/edits_win32.h"

#include <commctrl.h>

#include <algorithm>

namespace zv::win {

TEdit::TEdit(TForm& form, const ui::ControlDescription& d, TContainer* parent)
    : TEdit(form, d, parent, ES_AUTOHSCROLL) {}

TEdit::TEdit(TForm& form, const ui::ControlDescription& d, TContainer* parent, DWORD style)
    : TWinControl(form, d, parent) {
  if (d.options & ui::kReadOnly) style |= ES_READONLY;
  if (d.options & ui::kDigitsOnly) style |= ES_NUMBER;
  if (d.tabOrder >= 0) style |= WS_TABSTOP;
  Quietly(
      [&] { CreateStandard(WC_EDITW, style, (d.options & ui::kNoBorder) ? 0 : WS_EX_CLIENTEDGE); });
  // Unless the description sets one, no typing limit below what a settings value can hold (the
  // standard one is 30,000).
  ::SendMessageW(Handle(), EM_SETLIMITTEXT, static_cast<WPARAM>(std::max(d.maxLength, 0)), 0);
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
  return (Description().options & ui::kParentColor) ? ParentBackground(dc) : nullptr;
}

TMemo::TMemo(TForm& form, const ui::ControlDescription& d, TContainer* parent)
    : TEdit(form, d, parent,
            ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL |
                ((d.options & ui::kWordWrap) ? 0 : ES_AUTOHSCROLL) |
                ((d.options & ui::kVScroll) ? WS_VSCROLL : 0) |
                ((d.options & ui::kHScroll) ? WS_HSCROLL : 0)) {}

TListBox::TListBox(TForm& form, const ui::ControlDescription& d, TContainer* parent)
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

}  // namespace zv::win
