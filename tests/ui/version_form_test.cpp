#include "ui/version_form.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace zv::ui {
namespace {

constexpr Size kBox{358, 151};
constexpr Size kScreen{1024, 768};

TEST(CenterOnWindow, Cases) {
  struct Row {
    const char* name;
    Rect window;
    Size screen;
    Point expected;
  };
  const Row rows[] = {
      {"Middle", {312, 234, 400, 300}, kScreen, {333, 308}},
      {"OddDifferenceRoundsTowardZero", {0, 0, 359, 152}, kScreen, {0, 0}},
      {"NegativeHalfRoundsTowardZero", {100, 100, 355, 148}, kScreen, {99, 99}},
      {"RightEdgePushedInside", {900, 300, 400, 100}, kScreen, {666, 275}},
      {"BottomEdgePushedInside", {100, 700, 400, 200}, kScreen, {121, 617}},
      {"PartlyAboveTopGivesZero", {300, -400, 400, 300}, kScreen, {321, 0}},
      {"LeftOfScreenGivesZero", {-500, 200, 300, 100}, kScreen, {0, 175}},
      {"LargerThanScreenLeftAndTopWin", {0, 0, 100, 100}, Size{300, 120}, {0, 0}},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(CenterOnWindow(kBox, r.window, r.screen), r.expected) << r.name;
  }
}

TEST(CenterOnWindow, CentresWithinOnePixel) {
  const Rect window{101, 57, 640, 481};
  const Point p = CenterOnWindow(kBox, window, kScreen);
  const int dx = 2 * p.x + kBox.width - (2 * window.left + window.width);
  const int dy = 2 * p.y + kBox.height - (2 * window.top + window.height);
  EXPECT_LE(std::abs(dx), 2);
  EXPECT_LE(std::abs(dy), 2);
}

TEST(SetVersionTexts, Captions) {
  const VersionTexts t =
      SetVersionTexts(kVersionPurpose, "Zorvek32", "Ver.1.04 Rev.2", "1997-2000");
  EXPECT_EQ(t.caption, "Zorvek32 のバージョン情報");
  EXPECT_EQ(t.text, "禁句警告プラグイン");
  EXPECT_EQ(t.version, "Zorvek32 Ver.1.04 Rev.2");
  EXPECT_NE(t.copyright1.find("1997-2000"), std::string::npos);
  EXPECT_NE(t.copyright2.find("1997-2000"), std::string::npos);
  EXPECT_NE(t.copyright1, t.copyright2);
}

TEST(VersionFormDescription, IsSoundAndDesigned) {
  const FormDescription& d = kVersionFormDescription;
  EXPECT_TRUE(CheckFormDescription(d).empty());
  ASSERT_TRUE(d.clientSize);
  EXPECT_EQ(*d.clientSize, (Size{352, 126}));
  EXPECT_EQ(d.color, Color{15531007});
  EXPECT_EQ(d.borderIcons, 0u);
  const ControlDescription* ok = FindControl(d, "OKButton");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->caption, "ＯＫ");
  EXPECT_EQ(ok->bounds, (Rect{292, 8, 49, 21}));
  EXPECT_EQ(ok->modalResult, kModalOk);
  EXPECT_TRUE(ok->options & kDefault);
}

}  // namespace
}  // namespace zv::ui
