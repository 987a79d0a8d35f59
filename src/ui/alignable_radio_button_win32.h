// TAlignableRadioButton (module AlignableRadioButton): the standard radio button with its
// docking made public, so a form description can dock it; nothing else of its own.
#pragma once

#include "ui/buttons_win32.h"

namespace zv::win {

class TAlignableRadioButton final : public TRadioButton {
 public:
  using TRadioButton::TRadioButton;
  // Reading gives the docking every control carries; writing lays out the parent again.
  using TControl::Align;
  using TControl::SetAlign;
};

}  // namespace zv::win
