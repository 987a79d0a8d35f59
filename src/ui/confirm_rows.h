// The rows the confirmation shows for what a check found: each finding, then the external
// recipients, then the internal ones.
#pragma once

#include <vector>

#include "check/send_check.h"
#include "ui/confirm_form.h"

namespace zv::ui {

// One row per finding (kind "警告", the block's name in 【】, the line without its "・" and
// line break, a blank and the excerpt when there is one), then one per external recipient,
// grouped by domain in first-seen order and within a domain in header order ("To", "Cc" or
// "Bcc"; "name <address>" or the address alone; the domain), then the internal recipients the
// same way. Findings and external recipients start unticked and alert; internal ones ticked.
std::vector<ConfirmRow> ConfirmRows(const CheckResult& result);

}  // namespace zv::ui
