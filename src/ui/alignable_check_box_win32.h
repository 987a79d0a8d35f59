// TAlignableCheckBox (module AlignableCheckBox): the standard check box with one addition, its
// docking made public, so a form description can dock it. No fields and no overridden
// operations of its own.
#pragma once

#include "ui/buttons_win32.h"

namespace zv::win {

class TAlignableCheckBox final : public TCheckBox {
 public:
  using TCheckBox::TCheckBox;
  // Reading gives the docking every control carries; writing lays out the parent again.
  using TControl::Align;
  using TControl::SetAlign;
};

}  // namespace zv::win
