// Text controls of the form toolkit: one-line edits, memos and list boxes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control_win32.h"

namespace zv::win {

class TEdit : public TWinControl {
 public:
  TEdit(TForm& form, const ui::ControlDescription& d, TContainer* parent);
  // The bytes last set while the text shows unchanged; the shown text once it differs.
  std::string Text() const;
  void SetText(std::string_view text);
  void SelectAll();
  void Command(WORD code) override;
  HBRUSH ControlColor(HDC dc) override;

 protected:
  TEdit(TForm& form, const ui::ControlDescription& d, TContainer* parent, DWORD style);

 private:
  std::optional<std::string> set_;
};

class TMemo final : public TEdit {
 public:
  TMemo(TForm& form, const ui::ControlDescription& d, TContainer* parent);
  using TControl::Align;
  using TControl::SetAlign;
};

class TListBox final : public TWinControl {
 public:
  TListBox(TForm& form, const ui::ControlDescription& d, TContainer* parent);
  using TControl::Align;
  using TControl::SetAlign;
  int Count() const;
  void Add(std::string_view item);
  void Delete(int index);
  void Clear();
  // The bytes the item was added with.
  std::string Item(int index) const;
  void SetItem(int index, std::string_view item);
  int ItemIndex() const;  // -1: no selection
  void SetItemIndex(int index);
  void Command(WORD code) override;

 private:
  std::vector<std::string> items_;  // as added: the window holds them as UTF-16
};

}  // namespace zv::win
