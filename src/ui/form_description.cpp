#include "ui/form_description.h"

#include <set>
#include <utility>

namespace zv::ui {

std::optional<size_t> ControlIndex(const FormDescription& form, std::string_view name) {
  for (size_t i = 0; i < form.controls.size(); ++i) {
    if (form.controls[i].name == name) return i;
  }
  return std::nullopt;
}

const ControlDescription* FindControl(const FormDescription& form, std::string_view name) {
  const auto i = ControlIndex(form, name);
  return i ? &form.controls[*i] : nullptr;
}

bool IsContainer(ControlKind kind) {
  return kind == ControlKind::kPanel || kind == ControlKind::kPageControl ||
         kind == ControlKind::kTabSheet;
}

bool CanDock(ControlKind kind) {
  switch (kind) {
    case ControlKind::kPanel:
    case ControlKind::kPageControl:
    case ControlKind::kLabel:
    case ControlKind::kMemo:
    case ControlKind::kListBox:
    case ControlKind::kAlignableCheckBox:
    case ControlKind::kAlignableRadioButton:
    case ControlKind::kSplitter:
    case ControlKind::kImage:
    case ControlKind::kBevel:
    case ControlKind::kListView:
      return true;
    default:
      return false;
  }
}

bool MustDock(ControlKind kind) {
  return kind == ControlKind::kAlignableCheckBox || kind == ControlKind::kAlignableRadioButton ||
         kind == ControlKind::kSplitter;
}

std::vector<std::string> CheckFormDescription(const FormDescription& form) {
  std::vector<std::string> problems;
  auto problem = [&](std::string_view who, std::string_view what) {
    std::string text(who);
    text += ": ";
    text += what;
    problems.push_back(std::move(text));
  };
  if (form.name.empty()) problem("form", "has no name");
  if (form.className.empty()) problem(form.name, "has no class name");
  if (form.font != kFormFont) problem(form.name, "does not use the forms' font");

  std::set<std::string_view> seen;
  std::set<std::pair<std::string_view, int>> tabOrders;
  for (const ControlDescription& c : form.controls) {
    if (c.name.empty()) {
      problem(form.name, "has a control without a name");
      continue;
    }
    if (!seen.insert(c.name).second) problem(c.name, "is named twice");
    const ControlDescription* parent = nullptr;
    if (!c.parent.empty()) {
      parent = FindControl(form, c.parent);
      if (!parent || !seen.contains(c.parent)) {
        problem(c.name, "has a parent that is not described before it");
      } else if (!IsContainer(parent->kind)) {
        problem(c.name, "has a parent that cannot hold controls");
      }
    }
    const bool sheetParent = parent && parent->kind == ControlKind::kPageControl;
    if ((c.kind == ControlKind::kTabSheet) != sheetParent && parent) {
      problem(c.name, "tab sheets, and only tab sheets, belong to page controls");
    }
    if (c.kind == ControlKind::kTabSheet && !parent)
      problem(c.name, "tab sheet outside a page control");
    if (c.align) {
      if (!CanDock(c.kind)) problem(c.name, "sets docking, which its kind does not have");
    } else if (MustDock(c.kind)) {
      problem(c.name, "lacks its docking, which its kind always writes");
    }
    if (c.tabOrder >= 0 && !tabOrders.insert({c.parent, c.tabOrder}).second) {
      problem(c.name, "shares its tab order with a sibling");
    }
    if (c.modalResult != 0 && c.kind != ControlKind::kButton) {
      problem(c.name, "has a modal result but is no button");
    }
    if ((c.options & (kDefault | kCancel)) && c.kind != ControlKind::kButton) {
      problem(c.name, "is a default or cancel button but no button");
    }
    if ((c.maxLength != 0 || (c.options & kDigitsOnly)) && c.kind != ControlKind::kEdit) {
      problem(c.name, "limits what is typed but is no one-line edit");
    }
    if (!c.columns.empty() && c.kind != ControlKind::kListView) {
      problem(c.name, "has columns but is no list view");
    }
    if (!c.onClick.empty() && (c.kind == ControlKind::kMemo || c.kind == ControlKind::kEdit)) {
      problem(c.name, "has a click handler, which its kind does not raise");
    }
  }
  return problems;
}

}  // namespace zv::ui
