#include "ui/common_form.h"

namespace zv::ui {

const FormDescription kCommonFormDescription = {
    .name = "CommonForm",
    .className = "TCommonForm",
    .size = {120, 80},
    .borderStyle = BorderStyle::bsSingle,
    .font = kFormFont,
};

}  // namespace zv::ui
