// TCommonForm: a form that is never shown; it carries the plug-in's icon (32 x 32 and 16 x 16).
#pragma once

#include "ui/forms_win32.h"

namespace zv::win {

// The plug-in's icon at 32 x 32 from the module's resources; null when it has none. For a form
// that shows it often: no CommonForm is built for it.
UniqueIcon LoadPluginIcon();

class TCommonForm final : public TForm {
 public:
  TCommonForm();
  // The icon at 32 x 32; null when the module has no icon resource.
  HICON PluginIcon() const { return icon_.get(); }

 private:
  UniqueIcon icon_;
};

}  // namespace zv::win
