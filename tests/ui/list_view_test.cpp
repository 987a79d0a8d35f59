#include "ui/list_view.h"

#include <gtest/gtest.h>

#include <vector>

namespace zv::ui {
namespace {

constexpr ColumnDescription kColumns[] = {{"種類"}, {"内容", true}, {"ドメイン"}};

TEST(FitColumns, FillingColumnTakesTheRestAndOthersShrinkOnlyWhenItWouldNotFit) {
  struct Row {
    const char* name;
    std::vector<int> content;
    int width;
    std::vector<int> expected;
  };
  const Row rows[] = {
      {"RoomToSpare", {40, 300, 110}, 600, {40, 450, 110}},
      {"FillWiderThanItsShareStillTakesTheRest", {40, 900, 110}, 600, {40, 450, 110}},
      {"FillDownToItsMinimum", {40, 300, 110}, 250, {40, 100, 110}},
      {"OthersShrinkInProportion", {40, 300, 120}, 180, {20, 100, 60}},
      {"NarrowerThanTheMinimum", {40, 300, 110}, 60, {0, 60, 0}},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(FitColumns(kColumns, r.content, r.width, 100), r.expected) << r.name;
  }
}

TEST(FitColumns, LastColumnFillsWhenNoneIsMarked) {
  constexpr ColumnDescription plain[] = {{"a"}, {"b"}};
  EXPECT_EQ(FillColumn(plain), 1u);
  EXPECT_EQ(FitColumns(plain, std::vector<int>{50, 10}, 200, 20), (std::vector<int>{50, 150}));
}

}  // namespace
}  // namespace zv::ui
