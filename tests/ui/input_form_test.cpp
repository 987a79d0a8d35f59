#include "ui/input_form.h"

#include <gtest/gtest.h>

#include <string>

namespace zv::ui {
namespace {

// 6 pixels per byte; lines are 13 pixels high, except a line "tall" (15).
Size Measure(std::string_view line) {
  return Size{6 * static_cast<int>(line.size()), line == "tall" ? 15 : 13};
}

// The designed window's client area, as a sizeable 213 x 138 window has it.
constexpr Size kDesignedClient{205, 104};

struct FitCase {
  std::string name;
  std::string prompt;
  Size designedClient;
  InputGeometry expected;
};

class FitInputBoxTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitInputBoxTest, Geometry) {
  const FitCase& c = GetParam();
  const InputGeometry g = FitInputBox(DesignedInputGeometry(c.designedClient), c.prompt, Measure);
  EXPECT_EQ(g.memo, c.expected.memo);
  EXPECT_EQ(g.edit, c.expected.edit);
  EXPECT_EQ(g.button1, c.expected.button1);
  EXPECT_EQ(g.button2, c.expected.button2);
  EXPECT_EQ(g.client, c.expected.client);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FitInputBoxTest,
    ::testing::Values(
        // Narrower than 148 pixels: the buttons set the width of 160.
        FitCase{"OneLineNarrow",
                "abc",
                kDesignedClient,
                {{69, 4, 22, 26}, {3, 23, 154, 20}, {0, 49, 78, 27}, {83, 49, 78, 27}, {160, 82}}},
        // A 150-pixel line is wider than the buttons need: 150 + 12.
        FitCase{"OneLineAtLimit",
                std::string(25, 'x'),
                kDesignedClient,
                {{4, 4, 154, 26}, {3, 23, 156, 20}, {0, 49, 78, 27}, {83, 49, 78, 27}, {162, 82}}},
        FitCase{"WidePromptGivesWPlus12",
                std::string(30, 'w'),
                kDesignedClient,
                {{4, 4, 184, 26}, {3, 23, 186, 20}, {15, 49, 78, 27}, {98, 49, 78, 27}, {192, 82}}},
        // Three lines, breaks of every kind, a break at the end adds no line.
        FitCase{"MultiLine",
                "ab\r\ncdefgh\nij\r",
                kDesignedClient,
                {{60, 4, 40, 52}, {3, 49, 154, 20}, {0, 75, 78, 27}, {83, 75, 78, 27}, {160, 108}}},
        FitCase{"FirstLineSetsLineHeight",
                "tall\nab",
                kDesignedClient,
                {{66, 4, 28, 45}, {3, 40, 154, 20}, {0, 66, 78, 27}, {83, 66, 78, 27}, {160, 99}}},
        // A window already of the final size gets no resize: step 9's positions stay.
        FitCase{"NoSizeChangeKeepsStepNine",
                "abc",
                Size{160, 82},
                {{69, 4, 22, 26}, {3, 23, 154, 20}, {0, 49, 78, 27}, {82, 49, 78, 27}, {160, 82}}},
        FitCase{"EmptyPromptKeepsDesign",
                "",
                kDesignedClient,
                {{4, 4, 61, 25}, {3, 35, 158, 20}, {3, 58, 78, 27}, {83, 58, 78, 27}, {205, 104}}}),
    [](const auto& info) { return info.param.name; });

TEST(InputResizeRule, WideningCentresButtonsFivePixelsApart) {
  struct Row {
    int clientWidth, editWidth, button1Left, button2Left;
  };
  for (const Row& r : {Row{300, 294, 69, 152}, Row{161, 155, 0, 83}, Row{400, 394, 119, 202}}) {
    InputGeometry g = DesignedInputGeometry({r.clientWidth, 100});
    ApplyInputResizeRule(g);
    EXPECT_EQ(g.edit.width, r.editWidth) << r.clientWidth;
    EXPECT_EQ(g.edit.left + g.edit.width + g.edit.left, r.clientWidth);
    EXPECT_EQ(g.button1.left, r.button1Left) << r.clientWidth;
    EXPECT_EQ(g.button2.left, r.button2Left) << r.clientWidth;
    EXPECT_EQ(g.button2.left - g.button1.right(), 5);
  }
}

TEST(InputCaption, TwoBlanksBeforeTitle) {
  EXPECT_EQ(InputCaption("禁句パターンの追加"), "  禁句パターンの追加");
  EXPECT_EQ(InputCaption(""), "  ");
}

TEST(InputFormDescription, IsSound) {
  EXPECT_TRUE(CheckFormDescription(kInputFormDescription).empty());
  EXPECT_EQ(FindControl(kInputFormDescription, "Edit1")->tabOrder, 0);
}

}  // namespace
}  // namespace zv::ui
