#include "ui/list_view_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "ui/form_win32.h"
#include "ui/list_view.h"

namespace zv::win {

namespace {

// What the header adds to a caption's width: its text margins on both sides.
constexpr int kHeaderPadding = 12;

bool ValidRow(int row, int count) {
  return row >= 0 && row < count;
}

}  // namespace

TListView::TListView(TForm& form, const ui::ControlDescription& d, TContainer* parent)
    : TWinControl(form, d, parent) {
  DWORD style = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER;
  if (d.tabOrder >= 0) style |= WS_TABSTOP;
  Quietly([&] { CreateStandard(WC_LISTVIEWW, style, WS_EX_CLIENTEDGE); });
  const DWORD extended = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
  ::SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
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
  row.alert = alert;
  for (size_t i = 0; i < columns; ++i) row.texts.emplace_back(i < texts.size() ? texts[i] : "");
  const int index = Count();
  Quietly([&] {
    std::wstring text = Wide(row.texts[0]);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = text.data();
    ::SendMessageW(Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    // The list view gives every new row an empty box, whatever state the row is inserted with.
    if (checked) SetTick(index, true);
    for (size_t i = 1; i < columns; ++i) {
      text = Wide(row.texts[i]);
      LVITEMW sub{};
      sub.iSubItem = static_cast<int>(i);
      sub.pszText = text.data();
      ::SendMessageW(Handle(), LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&sub));
    }
  });
  rows_.push_back(std::move(row));
  contentWidths_.clear();
}

void TListView::Clear() {
  Quietly([&] { ::SendMessageW(Handle(), LVM_DELETEALLITEMS, 0, 0); });
  rows_.clear();
  contentWidths_.clear();
}

std::string TListView::Text(int row, int column) const {
  if (!ValidRow(row, Count()) || column < 0) return {};
  const auto& texts = rows_[static_cast<size_t>(row)].texts;
  return static_cast<size_t>(column) < texts.size() ? texts[static_cast<size_t>(column)] : "";
}

bool TListView::Alert(int row) const {
  return ValidRow(row, Count()) && rows_[static_cast<size_t>(row)].alert;
}

bool TListView::Checked(int row) const {
  const LRESULT state = ::SendMessageW(Handle(), LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
  return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void TListView::SetChecked(int row, bool on) {
  if (ValidRow(row, Count())) Quietly([&] { SetTick(row, on); });
}

void TListView::Toggle(int row) {
  SetTick(row, !Checked(row));
}

void TListView::SetTick(int row, bool on) {
  LVITEMW item{};
  item.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
  item.stateMask = LVIS_STATEIMAGEMASK;
  ::SendMessageW(Handle(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

int TListView::FocusedRow() const {
  return static_cast<int>(
      ::SendMessageW(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void TListView::SetFocusedRow(int row) {
  if (!ValidRow(row, Count())) return;
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
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i == fill) continue;  // takes the rest whatever it holds
    const std::wstring caption = Wide(columns[i].caption);
    const int header = static_cast<int>(::SendMessageW(Handle(), LVM_GETSTRINGWIDTHW, 0,
                                                       reinterpret_cast<LPARAM>(caption.c_str()))) +
                       kHeaderPadding;
    int rows = 0;
    if (!rows_.empty()) {
      // The list view's own measure of the rows, check box and margins included.
      ::SendMessageW(Handle(), LVM_SETCOLUMNWIDTH, i, LVSCW_AUTOSIZE);
      rows = static_cast<int>(::SendMessageW(Handle(), LVM_GETCOLUMNWIDTH, i, 0));
    }
    contentWidths_[i] = std::max(header, rows);
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
    case LVN_ITEMCHANGED: {
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
      // A state image of 0 is no tick yet: the row is being inserted.
      const UINT before = (change->uOldState & LVIS_STATEIMAGEMASK) >> 12;
      const UINT after = (change->uNewState & LVIS_STATEIMAGEMASK) >> 12;
      if (!quiet() && (change->uChanged & LVIF_STATE) && before != 0 && before != after &&
          ValidRow(change->iItem, Count())) {
        changedRow_ = change->iItem;
        struct Reset {
          int& row;
          ~Reset() { row = -1; }
        } reset{changedRow_};
        Change();
      }
      return 0;
    }
    default:
      return 0;
  }
}

bool TListView::Message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The list view ticks a row when its box is clicked; a click elsewhere on the row does
      // the same here, after the list view has selected the row.
      LVHITTESTINFO hit{};
      hit.pt = POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      const int row = static_cast<int>(
          ::SendMessageW(Handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
      result = DefaultMessage(msg, wp, lp);
      // A hit on the whole row sets every LVHT_ONITEM bit; the box alone sets only its own.
      if (ValidRow(row, Count()) && (hit.flags & LVHT_ONITEM) != LVHT_ONITEMSTATEICON) Toggle(row);
      return true;
    }
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
