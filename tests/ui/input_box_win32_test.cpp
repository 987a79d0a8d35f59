// The input box as a real window: sizes, positions, texts and results.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "text/lines.h"
#include "ui/form_description.h"
#include "ui/input_form.h"
#include "ui/input_form_win32.h"
#include "ui_harness_win32.h"

namespace zv::ui {
namespace {

using zv::test::ClientBounds;
using zv::test::W;

HWND Child(HWND form, std::string_view name) {
  return zv::test::FindDescendant(form, ControlId(*ControlIndex(kInputFormDescription, name)));
}

// Measures as the box does: "ＭＳ Ｐゴシック" at 12 pixels, Shift-JIS character set.
Size Measure(std::string_view line) {
  LOGFONTW lf{};
  lf.lfHeight = -12;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  W(kFormFont.face).copy(lf.lfFaceName, LF_FACESIZE - 1);
  HFONT font = ::CreateFontIndirectW(&lf);
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, font);
  const std::wstring text = W(line);
  SIZE s{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &s);
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  ::DeleteObject(font);
  return Size{s.cx, s.cy};
}

// The client area of the designed 213 x 138 window.
Size DesignedClient() {
  RECT frame{0, 0, 0, 0};
  ::AdjustWindowRectEx(&frame, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_CLIPCHILDREN, FALSE,
                       WS_EX_CONTROLPARENT);
  return Size{213 - (frame.right - frame.left), 138 - (frame.bottom - frame.top)};
}

struct Measured {
  Rect memo, edit, button1, button2;
  Size client;
};

Measured MeasureBox(HWND form) {
  return Measured{ClientBounds(form, Child(form, "Memo1")),
                  ClientBounds(form, Child(form, "Edit1")),
                  ClientBounds(form, Child(form, "Button1")),
                  ClientBounds(form, Child(form, "Button2")), zv::test::ClientSize(form)};
}

struct GeometryCase {
  std::string name;
  std::string prompt;
  int lines;
};

class InputBoxGeometry : public ::testing::TestWithParam<GeometryCase> {};

TEST_P(InputBoxGeometry, SizedToPromptAndResizedByRule) {
  const GeometryCase& c = GetParam();
  int wmax = 0;
  ForEachLine(c.prompt, [&](std::string_view line) { wmax = std::max(wmax, Measure(line).width); });
  const int h = Measure(SplitLines(c.prompt).front()).height;
  const InputGeometry expected =
      FitInputBox(DesignedInputGeometry(DesignedClient()), c.prompt, Measure);

  std::string text = "初期値";
  bool result = true;
  zv::test::WhileModal(
      [&] { result = win::ShowInputBox(nullptr, c.prompt, text, "題名"); },
      [&] {
        HWND form = zv::test::WaitForWindow(L"TInputForm");
        ASSERT_NE(form, nullptr);
        const Measured m = MeasureBox(form);
        EXPECT_EQ(m.memo, expected.memo);
        EXPECT_EQ(m.edit, expected.edit);
        EXPECT_EQ(m.button1, expected.button1);
        EXPECT_EQ(m.button2, expected.button2);
        EXPECT_EQ(m.client, expected.client);
        // The same, as the rules state them.
        EXPECT_EQ(m.client.width, std::max(wmax + 12, 160));
        EXPECT_EQ(m.memo.height, h * (c.lines + 1));
        EXPECT_EQ(m.edit.top, m.memo.top + c.lines * h + 6);
        EXPECT_EQ(m.edit.left, 3);
        EXPECT_EQ(m.edit.right(), m.client.width - 3);
        EXPECT_EQ(m.button2.left - m.button1.right(), 5);
        EXPECT_LE(std::abs(m.button1.left - (m.client.width - m.button2.right())), 1);
        EXPECT_EQ(m.client.height, m.button1.bottom() + 6);
        zv::test::SettlePainting(form);
        EXPECT_FALSE(zv::test::SaveScreenshot(form, "input_box_" + c.name).empty());

        // Widened by hand: the edit box and the buttons follow, the prompt stays.
        const Rect outer = zv::test::ScreenBounds(form);
        ::SetWindowPos(form, nullptr, 0, 0, outer.width + 101, outer.height + 20,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        const Measured wide = MeasureBox(form);
        EXPECT_EQ(wide.client.width, m.client.width + 101);
        EXPECT_EQ(wide.memo, m.memo);
        EXPECT_EQ(wide.edit.width, wide.client.width - 6);
        EXPECT_EQ(wide.button1.left, (wide.client.width - 2 * 78 - 5) / 2);
        EXPECT_EQ(wide.button2.left, wide.button1.right() + 5);
        zv::test::SettlePainting(form);
        zv::test::SaveScreenshot(form, "input_box_" + c.name + "_widened");
        zv::test::PressKey(Child(form, "Edit1"), VK_ESCAPE);
      });
  EXPECT_FALSE(result);
  EXPECT_EQ(text, "初期値");
}

INSTANTIATE_TEST_SUITE_P(
    Prompts, InputBoxGeometry,
    ::testing::Values(GeometryCase{"one_line", "名前:", 1},
                      GeometryCase{"wide", "追加する禁句パターンのパターン名を決めてください。", 1},
                      GeometryCase{"multi_line", "一行目です\r\n二行目はもう少し長い行\n三行目\r",
                                   3}),
    [](const auto& info) { return info.param.name; });

TEST(InputBox, CaptionFontFocusAndSelection) {
  std::string text = "新しい禁句パターン";
  zv::test::WhileModal(
      [&] { win::ShowInputBox(nullptr, "名前を入力", text, "禁句パターンの追加"); },
      [&] {
        HWND form = zv::test::WaitForWindow(L"TInputForm");
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(zv::test::WindowText(form), W("  禁句パターンの追加"));
        HWND edit = Child(form, "Edit1");
        EXPECT_EQ(zv::test::WindowText(edit), W("新しい禁句パターン"));
        EXPECT_EQ(zv::test::WindowText(Child(form, "Button2")), W("キャンセル"));
        LOGFONTW lf{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(edit, WM_GETFONT, 0, 0)), sizeof lf,
                     &lf);
        EXPECT_EQ(std::wstring(lf.lfFaceName), W("ＭＳ Ｐゴシック"));
        EXPECT_EQ(lf.lfHeight, -12);
        EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
        GUITHREADINFO info{sizeof info};
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(form, nullptr), &info);
        EXPECT_EQ(info.hwndFocus, edit);
        DWORD from = 1, to = 0;
        ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                       reinterpret_cast<LPARAM>(&to));
        EXPECT_EQ(from, 0u);
        EXPECT_EQ(to, static_cast<DWORD>(W("新しい禁句パターン").size()));
        const LONG style = ::GetWindowLongW(form, GWL_STYLE);
        EXPECT_TRUE(style & WS_THICKFRAME);
        EXPECT_TRUE(style & WS_SYSMENU);
        EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
        EXPECT_TRUE(::GetWindowLongW(Child(form, "Memo1"), GWL_STYLE) & ES_READONLY);
        // Centred on the screen.
        const Rect r = zv::test::ScreenBounds(form);
        EXPECT_LE(std::abs(2 * r.left + r.width - ::GetSystemMetrics(SM_CXSCREEN)), 1);
        EXPECT_LE(std::abs(2 * r.top + r.height - ::GetSystemMetrics(SM_CYSCREEN)), 1);
        zv::test::PressKey(edit, VK_ESCAPE);
      });
}

// How a test closes the box.
enum class Close { kEnter, kOkButton, kEsc, kCancelButton, kCloseBox };

struct ResultCase {
  std::string name;
  std::string typed;  // replaces the edit box's text first
  Close close;
  bool result;
  std::string text;  // afterwards
};

class InputBoxResult : public ::testing::TestWithParam<ResultCase> {};

TEST_P(InputBoxResult, ClosedBy) {
  const ResultCase& c = GetParam();
  std::string text = "元の名前";
  bool result = !c.result;
  zv::test::WhileModal([&] { result = win::ShowInputBox(nullptr, "名前", text, "改名"); },
                       [&] {
                         HWND form = zv::test::WaitForWindow(L"TInputForm");
                         ASSERT_NE(form, nullptr);
                         HWND edit = Child(form, "Edit1");
                         ::SendMessageW(edit, WM_SETTEXT, 0,
                                        reinterpret_cast<LPARAM>(W(c.typed).c_str()));
                         switch (c.close) {
                           case Close::kEnter:
                             zv::test::PressKey(edit, VK_RETURN);
                             break;
                           case Close::kOkButton:
                             ::PostMessageW(Child(form, "Button1"), BM_CLICK, 0, 0);
                             break;
                           case Close::kEsc:
                             zv::test::PressKey(edit, VK_ESCAPE);
                             break;
                           case Close::kCancelButton:
                             ::PostMessageW(Child(form, "Button2"), BM_CLICK, 0, 0);
                             break;
                           case Close::kCloseBox:
                             ::PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
                             break;
                         }
                       });
  EXPECT_EQ(result, c.result);
  EXPECT_EQ(text, c.text);
  EXPECT_EQ(::FindWindowW(L"TInputForm", nullptr), nullptr);  // freed
}

INSTANTIATE_TEST_SUITE_P(
    Closes, InputBoxResult,
    ::testing::Values(ResultCase{"Enter", "新しい名前", Close::kEnter, true, "新しい名前"},
                      ResultCase{"OkButton", "abc ソ表", Close::kOkButton, true, "abc ソ表"},
                      ResultCase{"OkWithEmptyText", "", Close::kOkButton, true, ""},
                      ResultCase{"Esc", "捨てる", Close::kEsc, false, "元の名前"},
                      ResultCase{"CancelButton", "捨てる", Close::kCancelButton, false, "元の名前"},
                      ResultCase{"CloseBox", "捨てる", Close::kCloseBox, false, "元の名前"}),
    [](const auto& info) { return info.param.name; });

TEST(InputBox, HostWindowsDisabledWhileShownAndActiveAgainAfter) {
  HWND host = ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                300, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(host, nullptr);
  ::SetActiveWindow(host);
  std::string text;
  zv::test::WhileModal([&] { win::ShowInputBox(nullptr, "p", text, "t"); },
                       [&] {
                         HWND form = zv::test::WaitForWindow(L"TInputForm");
                         ASSERT_NE(form, nullptr);
                         EXPECT_FALSE(::IsWindowEnabled(host));
                         zv::test::PressKey(Child(form, "Edit1"), VK_RETURN);
                       });
  EXPECT_TRUE(::IsWindowEnabled(host));
  EXPECT_EQ(::GetActiveWindow(), host);
  ::DestroyWindow(host);
}

}  // namespace
}  // namespace zv::ui
