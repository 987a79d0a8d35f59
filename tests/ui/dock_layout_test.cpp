#include "ui/dock_layout.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace zv::ui {
namespace {

struct DockCase {
  std::string name;
  Rect client;
  std::vector<DockChild> children;
  std::optional<size_t> cause;
  std::vector<Rect> expected;
};

class DockLayoutTest : public ::testing::TestWithParam<DockCase> {};

TEST_P(DockLayoutTest, PlacesChildren) {
  DockCase c = GetParam();
  DockLayout(c.client, c.children, c.cause);
  ASSERT_EQ(c.children.size(), c.expected.size());
  for (size_t i = 0; i < c.children.size(); ++i) {
    SCOPED_TRACE("child " + std::to_string(i));
    EXPECT_EQ(c.children[i].bounds, c.expected[i]);
  }
}

const Rect kClient{0, 0, 200, 100};

INSTANTIATE_TEST_SUITE_P(
    Cases, DockLayoutTest,
    ::testing::Values(
        DockCase{"TopKeepsOwnHeightTakesWidth",
                 kClient,
                 {{{5, 7, 10, 17}, alTop}},
                 {},
                 {{0, 0, 200, 17}}},
        DockCase{"SameTopKeepsContainerOrder",
                 kClient,
                 {{{0, 0, 50, 17}, alTop}, {{0, 0, 60, 17}, alTop}},
                 {},
                 {{0, 0, 200, 17}, {0, 17, 200, 17}}},
        DockCase{"TopsOrderedBySmallestTop",
                 kClient,
                 {{{0, 40, 50, 17}, alTop}, {{0, 10, 60, 20}, alTop}},
                 {},
                 {{0, 20, 200, 17}, {0, 0, 200, 20}}},
        DockCase{"HiddenTakesNoRoomAndOthersCloseUp",
                 kClient,
                 {{{0, 0, 1, 17}, alTop}, {{0, 17, 1, 17}, alTop, false}, {{0, 34, 1, 17}, alTop}},
                 {},
                 {{0, 0, 200, 17}, {0, 17, 1, 17}, {0, 17, 200, 17}}},
        DockCase{"LowerBottomEdgeEndsUpLowest",
                 kClient,
                 {{{0, 50, 1, 17}, alBottom}, {{0, 70, 1, 17}, alBottom}},
                 {},
                 {{0, 66, 200, 17}, {0, 83, 200, 17}}},
        DockCase{"SameBottomKeepsContainerOrder",
                 kClient,
                 {{{0, 10, 1, 17}, alBottom}, {{0, 10, 1, 17}, alBottom}},
                 {},
                 {{0, 83, 200, 17}, {0, 66, 200, 17}}},
        DockCase{"LeftByLeftRightByRightEdge",
                 kClient,
                 {{{30, 0, 10, 1}, alLeft},
                  {{0, 0, 20, 1}, alLeft},
                  {{100, 0, 5, 1}, alRight},
                  {{150, 0, 7, 1}, alRight}},
                 {},
                 {{20, 0, 10, 100}, {0, 0, 20, 100}, {188, 0, 5, 100}, {193, 0, 7, 100}}},
        DockCase{"PassesRunTopBottomLeftRightClient",
                 kClient,
                 {{{0, 0, 1, 1}, alClient},
                  {{0, 0, 30, 1}, alRight},
                  {{0, 0, 20, 1}, alLeft},
                  {{0, 0, 1, 10}, alBottom},
                  {{0, 0, 1, 15}, alTop}},
                 {},
                 {{20, 15, 150, 75},
                  {170, 15, 30, 75},
                  {0, 15, 20, 75},
                  {0, 90, 200, 10},
                  {0, 0, 200, 15}}},
        DockCase{"AlNoneKeepsBounds",
                 kClient,
                 {{{3, 4, 5, 6}, alNone}, {{0, 0, 1, 10}, alTop}},
                 {},
                 {{3, 4, 5, 6}, {0, 0, 200, 10}}},
        DockCase{"SidesOverflowKeepOwnWidths",
                 kClient,
                 {{{0, 0, 150, 1}, alLeft},
                  {{0, 0, 120, 1}, alRight},
                  {{0, 0, 40, 8}, alTop},
                  {{0, 0, 11, 1}, alLeft}},
                 {},
                 {{0, 8, 150, 92}, {80, 8, 120, 92}, {0, 0, 200, 8}, {150, 8, 11, 92}}},
        DockCase{"NegativeWidthKeepsOwnWidth",
                 // A container smaller than its borders: the free width starts negative.
                 Rect{0, 0, -4, 50},
                 {{{0, 0, 40, 8}, alTop},
                  {{0, 0, 30, 6}, alBottom},
                  {{0, 0, 11, 1}, alLeft},
                  {{0, 0, 5, 1}, alRight},
                  {{1, 2, 3, 4}, alClient}},
                 {},
                 {{0, 0, 40, 8}, {0, 44, 30, 6}, {0, 8, 11, 36}, {-9, 8, 5, 36}, {1, 2, 3, 4}}},
        DockCase{"NegativeHeightKeepsOwnHeight",
                 Rect{0, 0, 200, 30},
                 {{{0, 0, 1, 20}, alTop}, {{0, 0, 1, 25}, alBottom}, {{0, 0, 9, 12}, alLeft}},
                 {},
                 // After 45 pixels of top and bottom the free height is -15.
                 {{0, 0, 200, 20}, {0, 5, 200, 25}, {0, 20, 9, 12}}},
        DockCase{"ClientKeepsBoundsInEmptyRectangle",
                 Rect{0, 0, 200, 30},
                 {{{0, 0, 1, 30}, alTop}, {{7, 8, 9, 10}, alClient}},
                 {},
                 {{0, 0, 200, 30}, {7, 8, 9, 10}}},
        DockCase{"ClientFillsRest",
                 Rect{10, 20, 200, 100},
                 {{{0, 0, 1, 30}, alTop}, {{7, 8, 9, 10}, alClient}},
                 {},
                 {{10, 20, 200, 30}, {10, 50, 200, 70}}},
        DockCase{"CauseGoesFirstAmongEqualTops",
                 kClient,
                 {{{0, 0, 1, 10}, alTop}, {{0, 0, 1, 20}, alTop}},
                 size_t{1},
                 {{0, 20, 200, 10}, {0, 0, 200, 20}}},
        DockCase{"CauseKeepsItsPlaceBelowALowerTop",
                 // A resized panel stays below the label above it.
                 kClient,
                 {{{0, 0, 1, 12}, alTop}, {{0, 12, 1, 40}, alTop}, {{0, 30, 1, 17}, alTop}},
                 size_t{1},
                 {{0, 0, 200, 12}, {0, 12, 200, 40}, {0, 52, 200, 17}}}),
    [](const auto& info) { return info.param.name; });

TEST(DockLayout, EmptyContainerIsFine) {
  std::vector<DockChild> none;
  DockLayout(kClient, none);
  SUCCEED();
}

}  // namespace
}  // namespace zv::ui
