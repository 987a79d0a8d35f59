// The setup dialog's form description (form SetupForm, module uSetup). Its behaviour is in
// setup_model.h and its window in setup_form_win32.h.
#pragma once

#include <string_view>

#include "ui/form_description.h"

namespace zv::ui {

inline constexpr std::string_view kSetupCaption = "Zorvek32 のセットアップ";

extern const FormDescription kSetupFormDescription;

}  // namespace zv::ui
