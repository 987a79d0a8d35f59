// The confirmation window driven as a user drives it: rows ticked by clicks and by Space, the
// answer given by 送信, キャンセル, Enter, Esc or the close box, the placement kept; its picture.
#include "ui/confirm_form_win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "settings/ini_file.h"
#include "settings/ini_file_win32.h"
#include "ui_harness_win32.h"

namespace zv::ui {
namespace {

using zv::test::PressKey;
using zv::test::W;

// Two findings, three outside recipients in two domains, two inside ones.
std::vector<ConfirmRow> MailRows() {
  return {
      {"警告", "【社外宛】以下の禁句が入っています。 「社外秘」", "", false, true},
      {"警告",
       "【宛先】はじめて送るドメインがあります。 「cleint.example」（client.example に似ています）",
       "", false, true},
      {"To", "山本 様 <yamamoto@client.example>", "client.example", false, true},
      {"Cc", "R&D 部 <rd@client.example>", "client.example", false, true},
      {"To", "佐々木 様 <sasaki@cleint.example>", "cleint.example", false, true},
      {"To", "tanaka@tessaly.example", "tessaly.example", true, false},
      {"Cc", "鈴木 <suzuki@tessaly.example>", "tessaly.example", true, false},
  };
}

HWND Child(HWND form, std::string_view name) {
  return zv::test::FindDescendant(form, ControlId(*ControlIndex(kConfirmFormDescription, name)));
}

bool Eventually(const std::function<bool()>& done, int ms = 5000) {
  for (int waited = 0; waited < ms; waited += 10) {
    if (done()) return true;
    ::Sleep(10);
  }
  return done();
}

bool Ticked(HWND list, int row) {
  return ((::SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) &
           LVIS_STATEIMAGEMASK) >>
          12) == 2;
}

RECT CellRect(HWND list, int row, int column) {
  RECT rc{};
  rc.top = column;
  rc.left = LVIR_BOUNDS;
  ::SendMessageW(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&rc));
  if (column == 0)
    rc.right = rc.left + static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
  return rc;
}

// A click on the middle of a cell, as the mouse gives it.
void ClickCell(HWND list, int row, int column) {
  const RECT rc = CellRect(list, row, column);
  const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(list, WM_LBUTTONUP, 0, at);
}

// A point on a row's check box.
LPARAM BoxOf(HWND list, int row) {
  const RECT rc = CellRect(list, row, 0);
  LVHITTESTINFO hit{};
  for (hit.pt = {rc.left, (rc.top + rc.bottom) / 2}; hit.pt.x < rc.right; ++hit.pt.x) {
    if (::SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == row &&
        (hit.flags & LVHT_ONITEM) == LVHT_ONITEMSTATEICON) {
      return MAKELPARAM(hit.pt.x + 3, hit.pt.y);
    }
  }
  ADD_FAILURE() << "no check box on row " << row;
  return 0;
}

void SpaceOn(HWND list, int row) {
  LVITEMW item{};
  item.state = item.stateMask = LVIS_FOCUSED;
  ::SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  PressKey(list, VK_SPACE);
}

int ColumnsWidth(HWND list) {
  int sum = 0;
  for (int i = 0; i < 3; ++i)
    sum += static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0));
  return sum;
}

class ConfirmFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner_ = ::CreateWindowExW(0, L"STATIC", L"composition", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60,
                               40, 640, 480, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner_, nullptr);
  }
  void TearDown() override { ::DestroyWindow(owner_); }

  // Shows the window over the owner while `drive` works it; closes it should the driver not.
  bool Show(const std::vector<ConfirmRow>& rows, const std::function<void(HWND form)>& drive) {
    bool result = true;
    zv::test::WhileModal([&] { result = win::ShowConfirmForm(owner_, rows); },
                         [&] {
                           HWND form = zv::test::WaitForWindow(L"TConfirmForm");
                           EXPECT_NE(form, nullptr);
                           if (!form) return;
                           drive(form);
                           if (!Eventually([&] { return !::IsWindow(form); }, 3000)) {
                             ADD_FAILURE() << "the window stayed open";
                             ::PostMessageW(form, WM_CLOSE, 0, 0);
                           }
                         });
    return result;
  }

  HWND owner_ = nullptr;
};

TEST_F(ConfirmFormTest, EveryRowTickedByClickOrSpaceThenSend) {
  const auto rows = MailRows();
  const bool sent = Show(rows, [&](HWND form) {
    HWND list = Child(form, "ConfirmListView");
    HWND send = Child(form, "SendButton");
    EXPECT_EQ(::GetWindow(form, GW_OWNER), owner_);
    ASSERT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 7);
    EXPECT_FALSE(::IsWindowEnabled(send));
    // Anywhere on a row: its kind, its content, its domain; on the box itself once, not twice.
    ClickCell(list, 0, 1);
    ClickCell(list, 2, 2);
    ClickCell(list, 3, 0);
    const LPARAM box = BoxOf(list, 4);
    ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, box);
    ::PostMessageW(list, WM_LBUTTONUP, 0, box);
    ASSERT_TRUE(Eventually([&] { return Ticked(list, 0) && Ticked(list, 2) && Ticked(list, 3); }));
    EXPECT_TRUE(Eventually([&] { return Ticked(list, 4); }));
    EXPECT_FALSE(::IsWindowEnabled(send));
    SpaceOn(list, 1);
    ASSERT_TRUE(Eventually([&] { return Ticked(list, 1); }));
    EXPECT_TRUE(Eventually([&] { return ::IsWindowEnabled(send) != FALSE; }));
    ::PostMessageW(send, BM_CLICK, 0, 0);
  });
  EXPECT_TRUE(sent);
}

TEST_F(ConfirmFormTest, HeldBackUnlessSendIsPressed) {
  using Close = void (*)(HWND form, HWND list);
  struct Row {
    const char* name;
    bool leaveOneUnticked;
    Close close;
  };
  const Row cases[] = {
      {"EnterWithEveryRowTicked", false, [](HWND, HWND list) { PressKey(list, VK_RETURN); }},
      {"EscWithEveryRowTicked", false, [](HWND, HWND list) { PressKey(list, VK_ESCAPE); }},
      {"CloseBox", true, [](HWND form, HWND) { ::PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"CancelButton", true,
       [](HWND form, HWND) { ::PostMessageW(Child(form, "CancelButton"), BM_CLICK, 0, 0); }},
  };
  for (const Row& c : cases) {
    auto rows = MailRows();
    for (auto& r : rows) r.ticked = true;
    if (c.leaveOneUnticked) rows[3].ticked = false;
    EXPECT_FALSE(Show(rows, [&](HWND form) {
      HWND send = Child(form, "SendButton");
      EXPECT_EQ(::IsWindowEnabled(send) != FALSE, !c.leaveOneUnticked) << c.name;
      // Disabled, it does nothing; posted first, it would act before the close.
      if (c.leaveOneUnticked) ::PostMessageW(send, BM_CLICK, 0, 0);
      c.close(form, Child(form, "ConfirmListView"));
    })) << c.name;
  }
}

// Calls `pixel(x, colour)` for the pixels of a cell's middle lines, as the screen shows them.
void ForEachPixel(HWND list, RECT cell, const std::function<void(int, COLORREF)>& pixel) {
  ::MapWindowPoints(list, HWND_DESKTOP, reinterpret_cast<POINT*>(&cell), 2);
  HDC screen = ::GetDC(nullptr);
  for (int y = cell.top + 2; y < cell.bottom - 2; ++y) {
    for (int x = cell.left; x < cell.right; ++x) pixel(x - cell.left, ::GetPixel(screen, x, y));
  }
  ::ReleaseDC(nullptr, screen);
}

// The width of what is drawn darker than the background.
int InkWidth(HWND list, RECT cell) {
  int first = INT_MAX, last = -1;
  ForEachPixel(list, cell, [&](int x, COLORREF c) {
    if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128) {
      first = std::min(first, x);
      last = std::max(last, x);
    }
  });
  return last - first + 1;
}

// The width of `text` in the list's font.
int Extent(HWND list, std::string_view text) {
  const std::wstring wide = W(text);
  HDC dc = ::GetDC(list);
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0)));
  SIZE size{};
  ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(list, dc);
  return static_cast<int>(size.cx);
}

int RedPixels(HWND list, RECT cell) {
  int n = 0;
  ForEachPixel(list, cell, [&](int, COLORREF c) {
    n += GetRValue(c) > 160 && GetGValue(c) < 80 && GetBValue(c) < 80;
  });
  return n;
}

TEST_F(ConfirmFormTest, PlacementKeptInTheStoreNotInTheFile) {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(sizeof temp, temp);
  const std::string path =
      std::string(temp) + "zv-confirm-" + std::to_string(::GetCurrentProcessId()) + "-Zorvek32.ini";
  ::DeleteFileA(path.c_str());
  ASSERT_EQ(LoadIniStore(path, zv::win::SystemSettingsFiles(), DefaultFormats()),
            IniLoadResult::kNoFile);
  const auto rows = MailRows();
  auto stored = [] { return ActiveIniStore()->Has(kConfirmSection, "Left"); };

  // Left where it opened: nothing is kept.
  Show(rows, [](HWND form) { PressKey(Child(form, "ConfirmListView"), VK_ESCAPE); });
  EXPECT_FALSE(stored());
  // Moved and resized by the user: kept for the next show, in memory only.
  Show(rows, [](HWND form) {
    ::SetWindowPos(form, nullptr, 150, 120, 700, 330, SWP_NOZORDER | SWP_NOACTIVATE);
    PressKey(Child(form, "ConfirmListView"), VK_ESCAPE);
  });
  ASSERT_TRUE(stored());
  EXPECT_EQ(IniRead(kConfirmSection, "Width", Variant::Int32(0)), Variant::Int32(700));
  EXPECT_EQ(IniRead(kConfirmSection, "State", Variant::Text("")), Variant::Text("Normal"));
  EXPECT_EQ(::GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
  Show(rows, [](HWND form) {
    EXPECT_EQ(zv::test::ScreenBounds(form), (Rect{150, 120, 700, 330}));
    PressKey(Child(form, "ConfirmListView"), VK_ESCAPE);
  });
  FreeIniStore();
  ::DeleteFileA(path.c_str());
}

TEST_F(ConfirmFormTest, Picture) {
  Show(MailRows(), [&](HWND form) {
    HWND list = Child(form, "ConfirmListView");
    // Centred over the composition window; the columns fill the list's width, also once widened.
    const Rect r = zv::test::ScreenBounds(form);
    const Rect o = zv::test::ScreenBounds(owner_);
    EXPECT_LE(std::abs(2 * r.left + r.width - (2 * o.left + o.width)), 1);
    EXPECT_LE(std::abs(2 * r.top + r.height - (2 * o.top + o.height)), 1);
    EXPECT_EQ(ColumnsWidth(list), zv::test::ClientSize(list).width);
    zv::test::SettlePainting(form);
    EXPECT_FALSE(zv::test::SaveScreenshot(form, "confirm_window").empty());
    // Findings and outside recipients in red, inside ones in the normal colour.
    EXPECT_GT(RedPixels(list, CellRect(list, 1, 1)), 0);
    EXPECT_GT(RedPixels(list, CellRect(list, 4, 2)), 0);
    EXPECT_EQ(RedPixels(list, CellRect(list, 5, 1)), 0);
    // "R&D 部 <…>" drawn as wide as the whole text, not as the text with "&" for a mnemonic.
    const int ink = InkWidth(list, CellRect(list, 3, 1));
    EXPECT_LT(std::abs(ink - Extent(list, "R&D 部 <rd@client.example>")),
              std::abs(ink - Extent(list, "RD 部 <rd@client.example>")))
        << ink;
    ::SetWindowPos(form, nullptr, 0, 0, r.width + 120, r.height, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(ColumnsWidth(list), zv::test::ClientSize(list).width);
    PressKey(list, VK_ESCAPE);
  });
}

}  // namespace
}  // namespace zv::ui
