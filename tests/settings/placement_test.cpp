#include "settings/placement.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

namespace zv {
namespace {

// A form on a screen whose work area starts at (waLeft, waTop): the placement's normal
// rectangle is the form's bounds less that corner.
class FakeForm final : public PlacementForm {
 public:
  int left = 100, top = 50, width = 432, height = 495;
  int waLeft = 0, waTop = 0;
  bool sizeable = true;
  bool placementWorks = true;
  WindowState state = WindowState::kNormal;

  int Left() const override { return left; }
  int Top() const override { return top; }
  int Width() const override { return width; }
  int Height() const override { return height; }
  void SetLeft(int v) override { left = v; }
  void SetTop(int v) override { top = v; }
  void SetWidth(int v) override { width = v; }
  void SetHeight(int v) override { height = v; }
  bool Sizeable() const override { return sizeable; }
  WindowState State() const override { return state; }
  void SetState(WindowState s) override { state = s; }
  std::optional<NormalRect> Placement() override {
    if (!placementWorks) return std::nullopt;
    return NormalRect{left - waLeft, top - waTop, left - waLeft + width, top - waTop + height};
  }
};

class FakeStore final : public PlacementStore {
 public:
  std::map<std::string, Variant> values;  // "Section\Key"
  int saves = 0;
  bool saveWorks = true;

  Variant Read(std::string_view section, std::string_view key, const Variant& def) override {
    auto it = values.find(Name(section, key));
    return it == values.end() ? def : it->second;
  }
  void Write(std::string_view section, std::string_view key, const Variant& value) override {
    values[Name(section, key)] = value;
  }
  bool Save() override {
    ++saves;
    return saveWorks;
  }
  static std::string Name(std::string_view s, std::string_view k) {
    return std::string(s) + "\\" + std::string(k);
  }
};

constexpr ScreenSize kScreen{1024, 768};

TEST(SavePlacement, StoresNormalRectangleAndState) {
  FakeForm form;
  form.left = 120;
  form.top = 80;
  form.state = WindowState::kMaximized;
  FakeStore store;
  EXPECT_TRUE(SavePlacement(form, "SetupForm", store));
  EXPECT_EQ(store.values["SetupForm\\Left"], Variant::Int32(120));
  EXPECT_EQ(store.values["SetupForm\\Top"], Variant::Int32(80));
  EXPECT_EQ(store.values["SetupForm\\Width"], Variant::Int32(432));
  EXPECT_EQ(store.values["SetupForm\\Height"], Variant::Int32(495));
  EXPECT_EQ(store.values["SetupForm\\State"], Variant::Text("Maximized"));
  EXPECT_EQ(store.saves, 1);
}

TEST(SavePlacement, StateTexts) {
  for (auto [state, text] :
       {std::pair{WindowState::kNormal, "Normal"}, std::pair{WindowState::kMinimized, "Minimized"},
        std::pair{WindowState::kMaximized, "Maximized"}}) {
    FakeForm form;
    form.state = state;
    FakeStore store;
    SavePlacement(form, "F", store);
    EXPECT_EQ(store.values["F\\State"], Variant::Text(text));
  }
}

TEST(SavePlacement, FixedBorderStoresNoSize) {
  FakeForm form;
  form.sizeable = false;
  FakeStore store;
  SavePlacement(form, "F", store);
  EXPECT_FALSE(store.values.contains("F\\Width"));
  EXPECT_FALSE(store.values.contains("F\\Height"));
  EXPECT_TRUE(store.values.contains("F\\Left"));
}

TEST(SavePlacement, WorkspaceCoordinatesAreStored) {
  FakeForm form;
  form.left = 150;
  form.top = 80;
  form.waLeft = 30;  // a desktop toolbar at the left
  FakeStore store;
  SavePlacement(form, "F", store);
  EXPECT_EQ(store.values["F\\Left"], Variant::Int32(120));
}

TEST(SavePlacement, NoPlacementStoresNothingAndWritesNoFile) {
  FakeForm form;
  form.placementWorks = false;
  FakeStore store;
  EXPECT_FALSE(SavePlacement(form, "F", store));
  EXPECT_TRUE(store.values.empty());
  EXPECT_EQ(store.saves, 0);
}

TEST(SavePlacement, UnwritableFileIsReportedNotThrown) {
  FakeForm form;
  FakeStore store;
  store.saveWorks = false;
  EXPECT_FALSE(SavePlacement(form, "F", store));
  EXPECT_TRUE(store.values.contains("F\\Left"));
}

TEST(StorePlacement, StoresWhatSaveStoresWithoutWritingTheFile) {
  FakeForm form;
  FakeStore stored, saved;
  EXPECT_TRUE(StorePlacement(form, "F", stored));
  SavePlacement(form, "F", saved);
  EXPECT_EQ(stored.values, saved.values);
  EXPECT_EQ(stored.saves, 0);
}

struct LoadCase {
  std::string name;
  std::map<std::string, Variant> stored;
  bool sizeable;
  int waLeft, waTop;
  int left, top, width, height;  // expected
  WindowState state;
};

class LoadPlacementTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadPlacementTest, Restores) {
  const LoadCase& c = GetParam();
  FakeForm form;  // designed at (100, 50), 432 x 495
  form.sizeable = c.sizeable;
  form.waLeft = c.waLeft;
  form.waTop = c.waTop;
  FakeStore store;
  for (const auto& [k, v] : c.stored) store.values["SetupForm\\" + k] = v;
  LoadPlacement(form, "SetupForm", store, kScreen);
  EXPECT_EQ(form.left, c.left);
  EXPECT_EQ(form.top, c.top);
  EXPECT_EQ(form.width, c.width);
  EXPECT_EQ(form.height, c.height);
  EXPECT_EQ(form.state, c.state);
}

Variant I(int v) {
  return Variant::Int32(v);
}
Variant T(const char* s) {
  return Variant::Text(s);
}
constexpr auto kN = WindowState::kNormal;

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadPlacementTest,
    ::testing::Values(
        LoadCase{"StoredPositionOpensThere",
                 {{"Left", I(120)}, {"Top", I(80)}},
                 true,
                 0,
                 0,
                 120,
                 80,
                 432,
                 495,
                 kN},
        LoadCase{"WorkspaceShiftedByToolbar",
                 {{"Left", I(120)}, {"Top", I(80)}},
                 true,
                 30,
                 20,
                 150,
                 100,
                 432,
                 495,
                 kN},
        LoadCase{"MissingKeysKeepDesignShifted", {}, true, 30, 0, 130, 50, 432, 495, kN},
        LoadCase{"NegativeLeftOpensAtZero", {{"Left", I(-50)}}, true, 0, 0, 0, 50, 432, 495, kN},
        LoadCase{"PastRightEdgeMovesBack", {{"Left", I(900)}}, true, 0, 0, 592, 50, 432, 495, kN},
        LoadCase{"PastBottomEdgeMovesUp", {{"Top", I(700)}}, true, 0, 0, 100, 273, 432, 495, kN},
        LoadCase{"NegativeTopOpensAtZero", {{"Top", I(-10)}}, true, 0, 0, 100, 0, 432, 495, kN},
        LoadCase{"WiderThanScreenOpensAtLeftZero",
                 {{"Left", I(40)}, {"Width", I(1200)}},
                 true,
                 0,
                 0,
                 0,
                 50,
                 1200,
                 495,
                 kN},
        LoadCase{"TallerThanScreenOpensAtTopZero",
                 {{"Height", I(900)}},
                 true,
                 0,
                 0,
                 100,
                 0,
                 432,
                 900,
                 kN},
        LoadCase{"SizeRestored",
                 {{"Width", I(500)}, {"Height", I(400)}},
                 true,
                 0,
                 0,
                 100,
                 50,
                 500,
                 400,
                 kN},
        LoadCase{"DialogBorderIgnoresSize",
                 {{"Width", I(500)}, {"Height", I(400)}},
                 false,
                 0,
                 0,
                 100,
                 50,
                 432,
                 495,
                 kN},
        LoadCase{"Maximized",
                 {{"State", T("Maximized")}},
                 true,
                 0,
                 0,
                 100,
                 50,
                 432,
                 495,
                 WindowState::kMaximized},
        LoadCase{"Minimized",
                 {{"State", T("Minimized")}},
                 true,
                 0,
                 0,
                 100,
                 50,
                 432,
                 495,
                 WindowState::kMinimized},
        LoadCase{"LowerCaseStateIsNormal",
                 {{"State", T("maximized")}},
                 true,
                 0,
                 0,
                 100,
                 50,
                 432,
                 495,
                 kN},
        LoadCase{"NonNumberKeepsCurrent",
                 {{"Left", T("abc")}, {"Width", Variant::Boolean(true)}},
                 true,
                 0,
                 0,
                 100,
                 50,
                 432,
                 495,
                 kN},
        LoadCase{"NumericTextIsTaken", {{"Left", T("120")}}, true, 0, 0, 120, 50, 432, 495, kN}),
    [](const auto& info) { return info.param.name; });

TEST(LoadPlacement, WithoutPlacementNoShift) {
  FakeForm form;
  form.placementWorks = false;
  form.waLeft = 30;
  FakeStore store;
  store.values["F\\Left"] = Variant::Int32(120);
  LoadPlacement(form, "F", store, kScreen);
  EXPECT_EQ(form.left, 120);
}

TEST(Placement, SaveThenLoadRoundTrips) {
  FakeForm closed;
  closed.left = 120;
  closed.top = 80;
  closed.width = 500;
  closed.height = 420;
  closed.waLeft = 30;
  closed.state = WindowState::kMaximized;
  FakeStore store;
  SavePlacement(closed, "SetupForm", store);
  FakeForm opened;
  opened.waLeft = 30;
  LoadPlacement(opened, "SetupForm", store, kScreen);
  EXPECT_EQ(opened.left, 120);
  EXPECT_EQ(opened.top, 80);
  EXPECT_EQ(opened.width, 500);
  EXPECT_EQ(opened.height, 420);
  EXPECT_EQ(opened.state, WindowState::kMaximized);
}

}  // namespace
}  // namespace zv
