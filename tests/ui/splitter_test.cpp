#include "ui/splitter.h"

#include <gtest/gtest.h>

#include <vector>

namespace zv::ui {
namespace {

// A pattern pane, a 6-pixel splitter and a detail pane filling the rest, as docking leaves them
// in a 400 x 300 container.
std::vector<DockChild> LeftPanes() {
  return {{{0, 0, 97, 300}, alLeft}, {{97, 0, 6, 300}, alLeft}, {{103, 0, 297, 300}, alClient}};
}

TEST(Splitter, TargetIsTheSiblingDockedJustBefore) {
  EXPECT_EQ(SplitterTarget(LeftPanes(), 1), 0u);

  // Top docking: a label, a panel, the splitter; the panel touches it.
  std::vector<DockChild> tops = {
      {{0, 0, 200, 12}, alTop}, {{0, 12, 200, 97}, alTop}, {{0, 109, 200, 6}, alTop}};
  EXPECT_EQ(SplitterTarget(tops, 2), 1u);

  // Hidden or differently docked siblings do not count.
  tops[1].visible = false;
  EXPECT_EQ(SplitterTarget(tops, 2), std::nullopt);
  std::vector<DockChild> rights = {{{300, 0, 100, 50}, alRight}, {{294, 0, 6, 50}, alRight}};
  EXPECT_EQ(SplitterTarget(rights, 1), 0u);
  rights[0].align = alLeft;
  EXPECT_EQ(SplitterTarget(rights, 1), std::nullopt);
}

TEST(Splitter, NewSizeStaysWithinThirtyPixelsOfEitherSide) {
  const auto panes = LeftPanes();
  const SplitRange range = SplitterRange(panes, 1, 0, 400);
  EXPECT_EQ(range.min, 30);
  EXPECT_EQ(range.max, 400 - 30 - 6);  // leaves 30 pixels for the detail pane
  struct Row {
    int delta, expected;
  };
  for (const Row& r :
       {Row{0, 97}, Row{50, 147}, Row{-67, 30}, Row{-80, 30}, Row{267, 364}, Row{300, 364}}) {
    EXPECT_EQ(SplitterNewSize(panes[0], alLeft, r.delta, range), r.expected) << r.delta;
  }
  // Docked at the right or bottom, dragging towards the target shrinks it.
  const DockChild bottom{{0, 200, 100, 80}, alBottom};
  EXPECT_EQ(SplitterNewSize(bottom, alBottom, -20, {30, 150}), 100);
  EXPECT_EQ(SplitterNewSize(bottom, alBottom, 70, {30, 150}), 30);
}

TEST(Splitter, RangeCountsEveryDockedSiblingOnTheAxis) {
  // A second left pane and a right pane also take width; top panes do not.
  std::vector<DockChild> panes = {{{0, 0, 97, 300}, alLeft},   {{97, 0, 6, 300}, alLeft},
                                  {{103, 0, 50, 300}, alLeft}, {{350, 0, 50, 300}, alRight},
                                  {{0, 0, 400, 20}, alTop},    {{153, 20, 197, 280}, alClient}};
  EXPECT_EQ(SplitterRange(panes, 1, 0, 400).max, 400 - 30 - (97 + 6 + 50 + 50) + 97);
  panes[3].visible = false;
  EXPECT_EQ(SplitterRange(panes, 1, 0, 400).max, 400 - 30 - (97 + 6 + 50) + 97);
}

TEST(Splitter, BarFollowsTheNewSize) {
  const auto panes = LeftPanes();
  EXPECT_EQ(SplitterBar(panes[0], panes[1], 150), (Rect{150, 0, 6, 300}));
  const DockChild top{{0, 12, 200, 97}, alTop};
  const DockChild split{{0, 109, 200, 6}, alTop};
  EXPECT_EQ(SplitterBar(top, split, 40), (Rect{0, 52, 200, 6}));
  const DockChild right{{300, 0, 100, 50}, alRight};
  const DockChild rsplit{{294, 0, 6, 50}, alRight};
  EXPECT_EQ(SplitterBar(right, rsplit, 120), (Rect{274, 0, 6, 50}));
}

}  // namespace
}  // namespace zv::ui
