// Buttons of the form toolkit: push buttons, check boxes and radio buttons.
#pragma once

#include "ui/control_win32.h"

namespace zv::win {

class TButton final : public TWinControl {
 public:
  TButton(TForm& form, const ui::ControlDescription& d, TContainer* parent);
  int ModalResult() const { return Description().modalResult; }
  bool IsDefault() const { return (Description().options & ui::kDefault) != 0; }
  bool IsCancel() const { return (Description().options & ui::kCancel) != 0; }
  // Drawn as the button Enter presses.
  void ShowAsDefault(bool on);
  void Press();
  void Command(WORD code) override;
};

// What check boxes and radio buttons share: a check mark, and the parent's background behind
// the text.
class TCheckControl : public TWinControl {
 public:
  bool Checked() const;
  HBRUSH ControlColor(HDC dc) override;

 protected:
  TCheckControl(TForm& form, const ui::ControlDescription& d, TContainer* parent, DWORD style);
  void SetCheckMark(bool on);
};

class TCheckBox : public TCheckControl {
 public:
  TCheckBox(TForm& form, const ui::ControlDescription& d, TContainer* parent);
  void SetChecked(bool on) { SetCheckMark(on); }
  void Command(WORD code) override;
};

// Checking one radio button clears its siblings in the same container; only the checked one
// is a tab stop.
class TRadioButton : public TCheckControl {
 public:
  TRadioButton(TForm& form, const ui::ControlDescription& d, TContainer* parent);
  void SetChecked(bool on);
  void Command(WORD code) override;

 private:
  void UpdateTabStops();
};

}  // namespace zv::win
