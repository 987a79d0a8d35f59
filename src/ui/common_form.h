// CommonForm (module uCommon): a form that is never shown and only carries the plug-in's icon.
#pragma once

#include "ui/form_description.h"

namespace zv::ui {

extern const FormDescription kCommonFormDescription;

}  // namespace zv::ui
