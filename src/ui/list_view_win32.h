// The list view of the form toolkit: the common-controls list view in report style, a check box
// on every row, whole rows selected, the columns of its description filling its width.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control_win32.h"

namespace zv::win {

// Rows are texts, one per column. A click anywhere on a row and Space on the focused row toggle
// its tick; OnChange follows every tick the user changes (ChangedRow() tells which). Alert rows
// are drawn in red. The list view never reads a text as a keyboard mnemonic.
class TListView final : public TWinControl {
 public:
  TListView(TForm& form, const ui::ControlDescription& d, TContainer* parent);
  using TControl::Align;
  using TControl::SetAlign;

  int Count() const { return static_cast<int>(rows_.size()); }
  // Adds a row of code page 932 texts, one per column (missing ones are empty).
  void Add(std::span<const std::string_view> texts, bool checked, bool alert);
  void Clear();
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
    std::vector<std::string> texts;  // as added: the window holds them as UTF-16
    bool alert = false;
  };
  void Toggle(int row);
  // Sets the row's box as it stands (OnChange follows unless quiet).
  void SetTick(int row, bool on);
  // The widest text of each column, header included, as the list view draws it.
  const std::vector<int>& ContentWidths();

  std::vector<Row> rows_;
  std::vector<int> contentWidths_;  // empty when the rows changed since they were measured
  int changedRow_ = -1;
};

}  // namespace zv::win
