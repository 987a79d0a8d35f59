// The About box as a real window: centring, clamping, texts, icon and closing by Enter.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ui/common_form_win32.h"
#include "ui/form_description.h"
#include "ui/version_form.h"
#include "ui/version_form_win32.h"
#include "ui_harness_win32.h"

namespace zv::ui {
namespace {

using zv::test::W;

HWND OkButton(HWND form) {
  return zv::test::FindDescendant(form,
                                  ControlId(*ControlIndex(kVersionFormDescription, "OKButton")));
}

HWND MakeHost(const Rect& r) {
  return ::CreateWindowExW(0, L"STATIC", L"host", WS_POPUP | WS_BORDER | WS_VISIBLE, r.left, r.top,
                           r.width, r.height, nullptr, nullptr, nullptr, nullptr);
}

struct Placement {
  std::string name;
  Rect host;
  // Expectations: centred on the host, or an edge at the screen's edge.
  bool centred, rightAtScreenEdge, topAtZero;
};

class AboutBoxPlacement : public ::testing::TestWithParam<Placement> {};

TEST_P(AboutBoxPlacement, CentredOnWindowAndKeptOnScreen) {
  const Placement& c = GetParam();
  HWND host = MakeHost(c.host);
  ASSERT_NE(host, nullptr);
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  zv::test::WhileModal([&] { win::ShowAboutBox(host); },
                       [&] {
                         HWND box = zv::test::WaitForWindow(L"TVersionForm");
                         ASSERT_NE(box, nullptr);
                         const Rect r = zv::test::ScreenBounds(box);
                         const Rect h = zv::test::ScreenBounds(host);
                         if (c.centred) {
                           EXPECT_LE(std::abs((2 * r.left + r.width) - (2 * h.left + h.width)), 2);
                           EXPECT_LE(std::abs((2 * r.top + r.height) - (2 * h.top + h.height)), 2);
                         }
                         if (c.rightAtScreenEdge) EXPECT_EQ(r.right(), screenWidth);
                         if (c.topAtZero) EXPECT_EQ(r.top, 0);
                         EXPECT_FALSE(::IsWindowEnabled(host));
                         zv::test::PressKey(OkButton(box), VK_RETURN);
                       });
  EXPECT_EQ(::FindWindowW(L"TVersionForm", nullptr), nullptr);
  EXPECT_TRUE(::IsWindowEnabled(host));
  ::DestroyWindow(host);
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, AboutBoxPlacement,
    ::testing::Values(Placement{"Middle", {340, 262, 601, 501}, true, false, false},
                      Placement{"RightEdge", {1080, 300, 400, 300}, false, true, false},
                      Placement{"AboveTop", {300, -250, 500, 300}, false, false, true}),
    [](const auto& info) { return info.param.name; });

TEST(AboutBox, DesignedWindowAndTexts) {
  HWND host = MakeHost({100, 100, 640, 480});
  ::SetActiveWindow(host);
  zv::test::WhileModal(
      [&] { win::ShowAboutBox(host); },
      [&] {
        HWND box = zv::test::WaitForWindow(L"TVersionForm");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(zv::test::ClientSize(box), (Size{352, 126}));
        EXPECT_EQ(zv::test::WindowText(box), W("Zorvek32 のバージョン情報"));
        const LONG style = ::GetWindowLongW(box, GWL_STYLE);
        EXPECT_TRUE(style & WS_CAPTION);
        EXPECT_FALSE(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
        HWND ok = OkButton(box);
        EXPECT_EQ(zv::test::ClientBounds(box, ok), (Rect{292, 8, 49, 21}));
        EXPECT_EQ(zv::test::WindowText(ok), W("ＯＫ"));
        // The background colour 15531007 shows between the controls.
        zv::test::SettlePainting(box);
        HDC dc = ::GetDC(box);
        EXPECT_EQ(::GetPixel(dc, 250, 110), COLORREF{15531007});
        ::ReleaseDC(box, dc);
        EXPECT_FALSE(zv::test::SaveScreenshot(box, "about_box").empty());
        zv::test::PressKey(ok, VK_RETURN);
      });
  EXPECT_TRUE(::IsWindowEnabled(host));
  EXPECT_EQ(::GetActiveWindow(), host);
  ::DestroyWindow(host);
}

TEST(AboutBox, WithoutWindowCentresOnScreen) {
  zv::test::WhileModal([&] { win::ShowAboutBox(nullptr); },
                       [&] {
                         HWND box = zv::test::WaitForWindow(L"TVersionForm");
                         ASSERT_NE(box, nullptr);
                         const Rect r = zv::test::ScreenBounds(box);
                         EXPECT_LE(std::abs(2 * r.left + r.width - ::GetSystemMetrics(SM_CXSCREEN)),
                                   1);
                         ::PostMessageW(OkButton(box), BM_CLICK, 0, 0);
                       });
}

TEST(AboutBox, LabelsAndIconInTheForm) {
  win::TVersionForm form;
  {
    win::TCommonForm common;
    ASSERT_NE(common.PluginIcon(), nullptr);
    form.Image1().SetIcon(common.PluginIcon());
  }  // the copy outlives the icon form
  ASSERT_NE(form.Image1().Icon(), nullptr);
  EXPECT_EQ(form.Image1().Bounds(), (Rect{8, 8, 32, 32}));
  form.SetVersionTexts(kVersionPurpose, "Zorvek32", "Ver.1.04 Rev.2", "1997-2000");
  struct Row {
    const char* name;
    Point at;
    const char* caption;  // "" when only the position is checked
  };
  const Row rows[] = {{"TextLabel", {56, 4}, "禁句警告プラグイン"},
                      {"Label3", {56, 16}, ""},
                      {"VersionLabel", {56, 32}, "Zorvek32 Ver.1.04 Rev.2"},
                      {"CopyrightLabel1", {76, 48}, ""},
                      {"CopyrightLabel2", {76, 60}, ""}};
  const Size client = form.ClientSize();
  for (const Row& r : rows) {
    auto* label = form.Find<win::TLabel>(r.name);
    ASSERT_NE(label, nullptr) << r.name;
    EXPECT_EQ(label->Bounds().left, r.at.x) << r.name;
    EXPECT_EQ(label->Bounds().top, r.at.y) << r.name;
    if (*r.caption) EXPECT_EQ(label->Caption(), r.caption) << r.name;
    // Automatic size: the text fits, and nothing runs past the box or into the OK button.
    EXPECT_GT(label->Bounds().width, 0) << r.name;
    EXPECT_LE(label->Bounds().right(), client.width) << r.name;
    if (label->Bounds().top < 8 + 21) EXPECT_LE(label->Bounds().right(), 292) << r.name;
  }
  EXPECT_EQ(form.Find<win::TBevel>("Bevel1")->Bounds(), (Rect{15, 82, 322, 3}));
}

}  // namespace
}  // namespace zv::ui
