#include "ui/form_description.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/common_form.h"
#include "ui/confirm_form.h"
#include "ui/input_form.h"
#include "ui/version_form.h"

namespace zv::ui {
namespace {

FormDescription Form(std::span<const ControlDescription> controls) {
  return FormDescription{
      .name = "TestForm", .className = "TTestForm", .font = kFormFont, .controls = controls};
}

// The first problem reported, or "" for a sound description.
std::string FirstProblem(std::span<const ControlDescription> controls) {
  const auto problems = CheckFormDescription(Form(controls));
  return problems.empty() ? "" : problems.front();
}

TEST(FormDescription, EveryFormOfThePlugInIsSound) {
  for (const FormDescription* d :
       {&kInputFormDescription, &kVersionFormDescription, &kCommonFormDescription,
        &kConfirmFormDescription}) {
    EXPECT_EQ(CheckFormDescription(*d), std::vector<std::string>{}) << d->name;
    EXPECT_EQ(d->font, kFormFont) << d->name;
  }
}

TEST(FormDescription, Rules) {
  using K = ControlKind;
  static constexpr ColumnDescription kColumns[] = {{.caption = "種類"}};
  struct Row {
    const char* name;
    std::vector<ControlDescription> controls;
    std::string problem;  // "" when sound
  };
  const std::vector<Row> rows = {
      {"AlignableCheckBoxDocks",
       {{.name = "AlwaysCheck", .kind = K::kAlignableCheckBox, .align = alTop}},
       ""},
      {"AlignableRadioButtonDocks",
       {{.name = "AddressOnRadio", .kind = K::kAlignableRadioButton, .align = alBottom}},
       ""},
      {"AlignableCheckBoxAlwaysCarriesDocking",
       {{.name = "AlwaysCheck", .kind = K::kAlignableCheckBox}},
       "AlwaysCheck: lacks its docking, which its kind always writes"},
      {"AlNoneIsStillWritten",
       {{.name = "AlwaysCheck", .kind = K::kAlignableCheckBox, .align = alNone}},
       ""},
      {"PlainCheckBoxCannotDock",
       {{.name = "KanaCheck", .kind = K::kCheckBox, .align = alTop}},
       "KanaCheck: sets docking, which its kind does not have"},
      {"PlainRadioButtonCannotDock",
       {{.name = "R", .kind = K::kRadioButton, .align = alTop}},
       "R: sets docking, which its kind does not have"},
      {"ButtonCannotDock",
       {{.name = "B", .kind = K::kButton, .align = alClient}},
       "B: sets docking, which its kind does not have"},
      {"ParentMustComeFirst",
       {{.name = "L", .kind = K::kLabel, .parent = "P"}, {.name = "P", .kind = K::kPanel}},
       "L: has a parent that is not described before it"},
      {"ParentMustHoldControls",
       {{.name = "B", .kind = K::kButton}, {.name = "L", .kind = K::kLabel, .parent = "B"}},
       "L: has a parent that cannot hold controls"},
      {"PagesBelongToPageControls",
       {{.name = "PC", .kind = K::kPageControl, .align = alClient},
        {.name = "Page", .kind = K::kTabSheet, .parent = "PC"},
        {.name = "C", .kind = K::kAlignableCheckBox, .parent = "Page", .align = alTop}},
       ""},
      {"NoControlsDirectlyOnPageControl",
       {{.name = "PC", .kind = K::kPageControl}, {.name = "L", .kind = K::kLabel, .parent = "PC"}},
       "L: tab sheets, and only tab sheets, belong to page controls"},
      {"DuplicateName",
       {{.name = "A", .kind = K::kPanel}, {.name = "A", .kind = K::kPanel}},
       "A: is named twice"},
      {"TabOrderUniqueAmongSiblings",
       {{.name = "A", .kind = K::kButton, .tabOrder = 0},
        {.name = "B", .kind = K::kEdit, .tabOrder = 0}},
       "B: shares its tab order with a sibling"},
      {"TabOrderMayRepeatInAnotherParent",
       {{.name = "P", .kind = K::kPanel, .tabOrder = 0},
        {.name = "B", .kind = K::kButton, .parent = "P", .tabOrder = 0}},
       ""},
      {"SplitterAlwaysDocked",
       {{.name = "PatternSplitter", .kind = K::kSplitter}},
       "PatternSplitter: lacks its docking, which its kind always writes"},
      {"ModalResultOnlyOnButtons",
       {{.name = "E", .kind = K::kEdit, .modalResult = 1}},
       "E: has a modal result but is no button"},
      {"ColumnsOnlyOnListViews",
       {{.name = "L", .kind = K::kListBox, .columns = kColumns}},
       "L: has columns but is no list view"},
  };
  for (const Row& r : rows) EXPECT_EQ(FirstProblem(r.controls), r.problem) << r.name;
}

TEST(FormDescription, FormFontIsRequired) {
  FormDescription d = Form({});
  d.font = FontDescription{"MS UI Gothic", 12, 128};
  EXPECT_FALSE(CheckFormDescription(d).empty());
}

TEST(FormDescription, DockingFromADescription) {
  // Two alignable check boxes, both designed at top 0, dock in description order; a radio
  // button docked at the bottom; a memo fills the rest.
  const ControlDescription controls[] = {
      {.name = "AlwaysCheck",
       .kind = ControlKind::kAlignableCheckBox,
       .bounds = {0, 0, 80, 17},
       .align = alTop},
      {.name = "KanaCheck",
       .kind = ControlKind::kAlignableCheckBox,
       .bounds = {0, 0, 90, 17},
       .align = alTop},
      {.name = "OffRadio",
       .kind = ControlKind::kAlignableRadioButton,
       .bounds = {0, 0, 90, 17},
       .align = alBottom},
      {.name = "Memo", .kind = ControlKind::kMemo, .bounds = {5, 5, 10, 10}, .align = alClient},
  };
  ASSERT_EQ(FirstProblem(controls), "");
  std::vector<DockChild> children;
  for (const auto& c : controls) children.push_back({c.bounds, c.align.value_or(alNone)});
  DockLayout({0, 0, 200, 100}, children);
  EXPECT_EQ(children[0].bounds, (Rect{0, 0, 200, 17}));
  EXPECT_EQ(children[1].bounds, (Rect{0, 17, 200, 17}));
  EXPECT_EQ(children[2].bounds, (Rect{0, 83, 200, 17}));
  EXPECT_EQ(children[3].bounds, (Rect{0, 34, 200, 49}));
}

TEST(FormDescription, ControlIdsFollowDescriptionOrder) {
  EXPECT_EQ(ControlIndex(kInputFormDescription, "Memo1"), 0u);
  EXPECT_EQ(ControlIndex(kInputFormDescription, "Button2"), 3u);
  EXPECT_EQ(ControlIndex(kInputFormDescription, "Nothing"), std::nullopt);
  EXPECT_EQ(ControlId(3), 1003);
}

}  // namespace
}  // namespace zv::ui
