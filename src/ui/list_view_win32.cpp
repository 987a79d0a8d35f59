#include "ui/list_view_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "ui/form_win32.h"
#include "ui/list_view.h"

namespace zv::win {

namespace {

// What the header adds to a caption's width, and the list view to a cell's text: the text
// margins on both sides.
constexpr int kTextPadding = 12;

}  // namespace

TListView::TListView(TForm& form, const ui::ControlDescription& d, TContainer* parent)
    : TWinControl(form, d, parent) {
  DWORD style = LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER;
  if (d.tabOrder >= 0) style |= WS_TABSTOP;
  CreateStandard(WC_LISTVIEWW, style, WS_EX_CLIENTEDGE);
  const DWORD extended = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
  ::SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  // The ticks are asked for with the texts.
  ::SendMessageW(Handle(), LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
  for (size_t i = 0; i < d.columns.size(); ++i) {
    std::wstring caption = Wide(d.columns[i].caption);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = caption.data();
    column.cx = 50;
    column.iSubItem = static_cast<int>(i);
    ::SendMessageW(Handle(), LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
}

void TListView::Add(std::span<const std::string_view> texts, bool checked, bool alert) {
  const size_t columns = std::max<size_t>(Description().columns.size(), 1);
  Row row;
  row.checked = checked;
  row.alert = alert;
  for (size_t i = 0; i < columns; ++i) {
    row.texts.emplace_back(i < texts.size() ? texts[i] : "");
    row.shown.push_back(Wide(row.texts.back()));
  }
  rows_.push_back(std::move(row));
  contentWidths_.clear();
  if (updating_ == 0) UpdateCount();
}

void TListView::EndUpdate() {
  if (updating_ > 0 && --updating_ == 0) UpdateCount();
}

void TListView::Clear() {
  rows_.clear();
  contentWidths_.clear();
  if (updating_ == 0) UpdateCount();
}

void TListView::UpdateCount() {
  ::SendMessageW(Handle(), LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOSCROLL);
}

std::string TListView::Text(int row, int column) const {
  if (!Valid(row) || column < 0) return {};
  const auto& texts = rows_[static_cast<size_t>(row)].texts;
  return static_cast<size_t>(column) < texts.size() ? texts[static_cast<size_t>(column)] : "";
}

bool TListView::Alert(int row) const {
  return Valid(row) && rows_[static_cast<size_t>(row)].alert;
}

bool TListView::Checked(int row) const {
  return Valid(row) && rows_[static_cast<size_t>(row)].checked;
}

void TListView::SetChecked(int row, bool on) {
  if (!Valid(row)) return;
  rows_[static_cast<size_t>(row)].checked = on;
  RedrawRow(row);
}

void TListView::Toggle(int row) {
  if (!Valid(row)) return;
  bool& checked = rows_[static_cast<size_t>(row)].checked;
  checked = !checked;
  RedrawRow(row);
  changedRow_ = row;
  struct Reset {
    int& row;
    ~Reset() { row = -1; }
  } reset{changedRow_};
  Change();
}

void TListView::RedrawRow(int row) {
  ::SendMessageW(Handle(), LVM_REDRAWITEMS, row, row);
}

int TListView::FocusedRow() const {
  return static_cast<int>(
      ::SendMessageW(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void TListView::SetFocusedRow(int row) {
  if (!Valid(row)) return;
  LVITEMW item{};
  item.state = LVIS_FOCUSED;
  item.stateMask = LVIS_FOCUSED;
  ::SendMessageW(Handle(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  ::SendMessageW(Handle(), LVM_ENSUREVISIBLE, row, FALSE);
}

const std::vector<int>& TListView::ContentWidths() {
  if (!contentWidths_.empty()) return contentWidths_;
  const auto& columns = Description().columns;
  const size_t fill = ui::FillColumn(columns);
  contentWidths_.assign(columns.size(), 0);
  WindowDc dc(Handle());
  SelectScope font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(Handle(), WM_GETFONT, 0, 0)));
  auto width = [&](const std::wstring& text) {
    SIZE size{};
    ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  };
  // The first column also holds the check box.
  int box = ::GetSystemMetrics(SM_CXSMICON);
  if (auto* boxes = reinterpret_cast<HIMAGELIST>(
          ::SendMessageW(Handle(), LVM_GETIMAGELIST, LVSIL_STATE, 0))) {
    int cy = 0;
    ::ImageList_GetIconSize(boxes, &box, &cy);
  }
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i == fill) continue;  // takes the rest whatever it holds
    int widest = 0;
    for (const Row& row : rows_) widest = std::max(widest, width(row.shown[i]));
    if (!rows_.empty()) widest += i == 0 ? box : 0;
    contentWidths_[i] = std::max(width(Wide(columns[i].caption)), widest) + kTextPadding;
  }
  return contentWidths_;
}

void TListView::FitColumns() {
  const auto& columns = Description().columns;
  if (columns.empty() || !Handle()) return;
  RECT client{};
  ::GetClientRect(Handle(), &client);
  const std::vector<int> widths =
      ui::FitColumns(columns, ContentWidths(), client.right - client.left, ui::kMinFillWidth);
  for (size_t i = 0; i < widths.size(); ++i) {
    if (::SendMessageW(Handle(), LVM_GETCOLUMNWIDTH, i, 0) != widths[i]) {
      ::SendMessageW(Handle(), LVM_SETCOLUMNWIDTH, i, MAKELPARAM(widths[i], 0));
    }
  }
}

LRESULT TListView::Notify(NMHDR* header) {
  switch (header->code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
      if (!Valid(item.iItem)) return 0;
      const Row& row = rows_[static_cast<size_t>(item.iItem)];
      if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const std::wstring& text = static_cast<size_t>(item.iSubItem) < row.shown.size()
                                       ? row.shown[static_cast<size_t>(item.iSubItem)]
                                       : std::wstring();
        const size_t n = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
        text.copy(item.pszText, n);
        item.pszText[n] = L'\0';
      }
      if (item.mask & LVIF_STATE) {
        item.state =
            (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(row.checked ? 2 : 1);
        item.stateMask |= LVIS_STATEIMAGEMASK;
      }
      return 0;
    }
    case LVN_ODFINDITEMW:
      return -1;  // typing finds no row: the keys have no meaning here
    case NM_CUSTOMDRAW: {
      auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
      if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
      if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT &&
          Alert(static_cast<int>(draw->nmcd.dwItemSpec))) {
        draw->clrText = ui::kAlertColor;
        return CDRF_NEWFONT;
      }
      return CDRF_DODEFAULT;
    }
    default:
      return 0;
  }
}

bool TListView::Message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The ticks are kept here, so the list view's own handling of a click on a box changes
      // none: every click on a row, box or not, toggles its tick here, after the list view has
      // selected the row.
      LVHITTESTINFO hit{};
      hit.pt = POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      const int row = static_cast<int>(
          ::SendMessageW(Handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
      result = DefaultMessage(msg, wp, lp);
      if (hit.flags & LVHT_ONITEM) Toggle(row);
      return true;
    }
    case WM_KEYDOWN:
      // Space toggles the focused row once, however long it is held.
      if (wp == VK_SPACE) {
        result = DefaultMessage(msg, wp, lp);
        if ((lp & (1 << 30)) == 0) Toggle(FocusedRow());
        return true;
      }
      break;
    case WM_SIZE:
      result = DefaultMessage(msg, wp, lp);
      FitColumns();
      return true;
    case WM_SETFOCUS:
      // Space needs a focused row to tick.
      if (FocusedRow() < 0) SetFocusedRow(0);
      break;
    default:
      break;
  }
  return TWinControl::Message(msg, wp, lp, result);
}

}  // namespace zv::win
