// Window placement of real forms: stored, restored, kept on the screen, maximized.
#include "ui/placement_win32.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "ui/forms_win32.h"

namespace zv {
namespace {

using ui::FormDescription;
using ui::Rect;
using win::TForm;

class MemoryStore final : public PlacementStore {
 public:
  std::map<std::string, Variant> values;
  int saves = 0;
  Variant Read(std::string_view s, std::string_view k, const Variant& def) override {
    auto it = values.find(Name(s, k));
    return it == values.end() ? def : it->second;
  }
  void Write(std::string_view s, std::string_view k, const Variant& v) override {
    values[Name(s, k)] = v;
  }
  bool Save() override {
    ++saves;
    return true;
  }
  static std::string Name(std::string_view s, std::string_view k) {
    return std::string(s) + "\\" + std::string(k);
  }
};

const FormDescription kSizeable = {.name = "PlacedForm",
                                   .className = "TPlacedForm",
                                   .caption = "配置",
                                   .size = {300, 250},
                                   .origin = {200, 150},
                                   .font = ui::kFormFont};
const FormDescription kDialog = {.name = "PlacedDialog",
                                 .className = "TPlacedDialog",
                                 .size = {300, 250},
                                 .borderStyle = ui::BorderStyle::bsDialog,
                                 .origin = {200, 150},
                                 .font = ui::kFormFont};

class TPlacedForm final : public TForm {
 public:
  explicit TPlacedForm(const FormDescription& d) : TForm(d) { Load({}); }
};

Rect WindowRect(HWND w) {
  RECT rc{};
  ::GetWindowRect(w, &rc);
  return Rect{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

TEST(PlacementWin32, StoredAndRestoredAt120And80) {
  MemoryStore store;
  {
    TPlacedForm form(kSizeable);
    form.MoveTo(120, 80);
    form.SetWidth(340);
    ASSERT_TRUE(win::SavePlacement(form, "PlacedForm", store));
  }
  EXPECT_EQ(store.values["PlacedForm\\Left"], Variant::Int32(120));
  EXPECT_EQ(store.values["PlacedForm\\Top"], Variant::Int32(80));
  EXPECT_EQ(store.values["PlacedForm\\Width"], Variant::Int32(340));
  EXPECT_EQ(store.values["PlacedForm\\Height"], Variant::Int32(250));
  EXPECT_EQ(store.values["PlacedForm\\State"], Variant::Text("Normal"));
  EXPECT_EQ(store.saves, 1);

  TPlacedForm again(kSizeable);
  win::LoadPlacement(again, "PlacedForm", store);
  EXPECT_EQ(WindowRect(again.Handle()), (Rect{120, 80, 340, 250}));
}

TEST(PlacementWin32, KeptOnTheScreen) {
  const int sw = ::GetSystemMetrics(SM_CXSCREEN), sh = ::GetSystemMetrics(SM_CYSCREEN);
  struct Row {
    const char* name;
    int left, top, width;
    Rect expected;
  };
  const Row rows[] = {
      {"LeftOfScreen", -50, 10, 300, {0, 10, 300, 250}},
      {"PastRightEdge", sw - 100, 10, 300, {sw - 300, 10, 300, 250}},
      {"PastBottomEdge", 10, sh - 20, 300, {10, sh - 250, 300, 250}},
      {"WiderThanScreen", 40, 10, sw + 200, {0, 10, sw + 200, 250}},
  };
  for (const Row& r : rows) {
    MemoryStore store;
    store.values["PlacedForm\\Left"] = Variant::Int32(r.left);
    store.values["PlacedForm\\Top"] = Variant::Int32(r.top);
    store.values["PlacedForm\\Width"] = Variant::Int32(r.width);
    TPlacedForm form(kSizeable);
    win::LoadPlacement(form, "PlacedForm", store);
    const Rect got = WindowRect(form.Handle());
    if (r.width > sw) {
      // The system caps a window's size near the screen's; the left edge still wins.
      EXPECT_EQ(got.left, 0) << r.name;
      EXPECT_GE(got.width, sw) << r.name;
    } else {
      EXPECT_EQ(got, r.expected) << r.name;
    }
  }
}

TEST(PlacementWin32, MaximizedOpensMaximizedAndStoresItsRestoredRectangle) {
  MemoryStore store;
  store.values["PlacedForm\\Left"] = Variant::Int32(100);
  store.values["PlacedForm\\Top"] = Variant::Int32(90);
  store.values["PlacedForm\\State"] = Variant::Text("Maximized");
  TPlacedForm form(kSizeable);
  win::LoadPlacement(form, "PlacedForm", store);
  form.SetVisible(true);
  EXPECT_TRUE(::IsZoomed(form.Handle()));
  EXPECT_EQ(form.State(), WindowState::kMaximized);
  store.values.clear();
  win::SavePlacement(form, "PlacedForm", store);
  EXPECT_EQ(store.values["PlacedForm\\State"], Variant::Text("Maximized"));
  EXPECT_EQ(store.values["PlacedForm\\Left"], Variant::Int32(100));
  EXPECT_EQ(store.values["PlacedForm\\Width"], Variant::Int32(300));
  form.SetVisible(false);

  MemoryStore lower;
  lower.values["PlacedForm\\State"] = Variant::Text("maximized");
  TPlacedForm normal(kSizeable);
  win::LoadPlacement(normal, "PlacedForm", lower);
  normal.SetVisible(true);
  EXPECT_FALSE(::IsZoomed(normal.Handle()));
  normal.SetVisible(false);
}

TEST(PlacementWin32, DialogBorderKeepsItsSize) {
  MemoryStore store;
  store.values["PlacedDialog\\Width"] = Variant::Int32(500);
  store.values["PlacedDialog\\Height"] = Variant::Int32(400);
  TPlacedForm form(kDialog);
  win::LoadPlacement(form, "PlacedDialog", store);
  EXPECT_EQ(WindowRect(form.Handle()).width, 300);
  store.values.clear();
  win::SavePlacement(form, "PlacedDialog", store);
  EXPECT_FALSE(store.values.contains("PlacedDialog\\Width"));
  EXPECT_FALSE(store.values.contains("PlacedDialog\\Height"));
  EXPECT_TRUE(store.values.contains("PlacedDialog\\Left"));
}

}  // namespace
}  // namespace zv
