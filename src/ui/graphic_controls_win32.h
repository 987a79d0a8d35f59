// Graphic controls of the form toolkit: labels, images and bevels, painted by their container.
#pragma once

#include "ui/control_win32.h"

namespace zv::win {

class TLabel final : public TGraphicControl {
 public:
  TLabel(TForm& form, const ui::ControlDescription& d, TContainer* parent);
  using TControl::Align;
  using TControl::SetAlign;
  void Paint(HDC dc) override;
  // The caption's extent in the form's font.
  ui::Size TextExtent() const;

 protected:
  void ApplyCaption() override;

 private:
  void AutoSize();
};

class TImage final : public TGraphicControl {
 public:
  using TControl::Align;
  using TControl::SetAlign;
  using TGraphicControl::TGraphicControl;
  // Takes a copy of `icon` (borrowed) as the picture.
  void SetIcon(HICON icon);
  HICON Icon() const { return icon_.get(); }
  void Paint(HDC dc) override;

 private:
  UniqueIcon icon_;
};

class TBevel final : public TGraphicControl {
 public:
  using TControl::Align;
  using TControl::SetAlign;
  using TGraphicControl::TGraphicControl;
  void Paint(HDC dc) override;
};

}  // namespace zv::win
