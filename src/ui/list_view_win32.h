// The list view of the form toolkit: the common-controls list view in report style, a check box
// on every row, whole rows selected, the columns of its description filling its width.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control_win32.h"

namespace zv::win {

// Rows are texts, one per column. A click anywhere on a row (its box included) and Space on the
// focused row toggle its tick; OnChange follows every tick the user changes (ChangedRow() tells
// which). Alert rows are drawn in red. The list view never reads a text as a keyboard mnemonic.
//
// The rows live here, not in the window: the list view asks for the texts and ticks of the rows
// it draws (a virtual list view), so a thousand rows cost what the visible ones cost.
class TListView final : public TWinControl {
 public:
  TListView(TForm& form, const ui::ControlDescription& d, TContainer* parent);
  using TControl::Align;
  using TControl::SetAlign;

  int Count() const { return static_cast<int>(rows_.size()); }
  // Adds a row of code page 932 texts, one per column (missing ones are empty).
  void Add(std::span<const std::string_view> texts, bool checked, bool alert);
  void Clear();
  // Between the two, added rows reach the window together, at EndUpdate.
  void BeginUpdate() { ++updating_; }
  void EndUpdate();
  // The bytes the text was added with.
  std::string Text(int row, int column) const;
  bool Alert(int row) const;
  bool Checked(int row) const;
  // Sets a tick without raising OnChange.
  void SetChecked(int row, bool on);
  // The row whose tick changed, while OnChange runs; -1 otherwise.
  int ChangedRow() const { return changedRow_; }
  // The row that has the keyboard focus, or -1.
  int FocusedRow() const;
  void SetFocusedRow(int row);
  // Shares the width among the columns again (done on every resize).
  void FitColumns();

  LRESULT Notify(NMHDR* header) override;
  bool Message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  struct Row {
    std::vector<std::string> texts;   // as added
    std::vector<std::wstring> shown;  // as the window draws them
    bool checked = false;
    bool alert = false;
  };
  bool Valid(int row) const { return row >= 0 && row < Count(); }
  // The user's tick: changes it and raises OnChange.
  void Toggle(int row);
  void RedrawRow(int row);
  void UpdateCount();
  // The widest text of each column, header included, as the list view draws it.
  const std::vector<int>& ContentWidths();

  std::vector<Row> rows_;
  std::vector<int> contentWidths_;  // empty when the rows changed since they were measured
  int updating_ = 0;
  int changedRow_ = -1;
};

}  // namespace zv::win
