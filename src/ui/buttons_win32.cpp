#include "ui/buttons_win32.h"

#include <commctrl.h>

#include <vector>

#include "ui/form_win32.h"

namespace zv::win {

TButton::TButton(TForm& form, const ui::ControlDescription& d, TContainer* parent)
    : TWinControl(form, d, parent) {
  DWORD style = (d.options & ui::kDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if (d.tabOrder >= 0) style |= WS_TABSTOP;
  CreateStandard(WC_BUTTONW, style, 0);
}

void TButton::ShowAsDefault(bool on) {
  const LONG_PTR style = ::GetWindowLongPtrW(Handle(), GWL_STYLE) & 0x0F;
  const LONG_PTR wanted = on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if (style != wanted) ::SendMessageW(Handle(), BM_SETSTYLE, wanted, TRUE);
}

void TButton::Press() {
  if (!Enabled()) return;
  const int result = ModalResult();
  Click();
  if (result != 0) Form().SetModalResult(result);
}

void TButton::Command(WORD code) {
  if (code == BN_CLICKED) Press();
}

TCheckControl::TCheckControl(TForm& form, const ui::ControlDescription& d, TContainer* parent,
                             DWORD style)
    : TWinControl(form, d, parent) {
  CreateStandard(WC_BUTTONW, style, 0);
}

bool TCheckControl::Checked() const {
  return ::SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckControl::SetCheckMark(bool on) {
  ::SendMessageW(Handle(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

HBRUSH TCheckControl::ControlColor(HDC dc) {
  return ParentBackground(dc);
}

TCheckBox::TCheckBox(TForm& form, const ui::ControlDescription& d, TContainer* parent)
    : TCheckControl(form, d, parent, BS_AUTOCHECKBOX | (d.tabOrder >= 0 ? WS_TABSTOP : 0)) {
  if (d.options & ui::kChecked) SetChecked(true);
}

void TCheckBox::Command(WORD code) {
  if (code == BN_CLICKED) Click();
}

TRadioButton::TRadioButton(TForm& form, const ui::ControlDescription& d, TContainer* parent)
    : TCheckControl(form, d, parent, BS_RADIOBUTTON) {
  SetChecked((d.options & ui::kChecked) != 0);
}

void TRadioButton::SetChecked(bool on) {
  SetCheckMark(on);
  if (on && Parent()) {
    for (TControl* c : Parent()->Children()) {
      auto* radio = dynamic_cast<TRadioButton*>(c);
      if (radio && radio != this && radio->Handle()) radio->SetCheckMark(false);
    }
  }
  UpdateTabStops();
}

void TRadioButton::UpdateTabStops() {
  if (!Parent()) return;
  std::vector<TRadioButton*> group;
  bool anyChecked = false;
  for (TControl* c : Parent()->Children()) {
    if (auto* radio = dynamic_cast<TRadioButton*>(c); radio && radio->Handle()) {
      group.push_back(radio);
      anyChecked = anyChecked || radio->Checked();
    }
  }
  for (size_t i = 0; i < group.size(); ++i) {
    group[i]->SetTabStop(anyChecked ? group[i]->Checked() : i == 0);
  }
}

void TRadioButton::Command(WORD code) {
  if (code != BN_CLICKED || Checked()) return;
  SetChecked(true);
  Click();
}

}  // namespace zv::win
