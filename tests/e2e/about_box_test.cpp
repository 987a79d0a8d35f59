// The About box opened by the host through APCVersionInfo, before any start-up: centred on the
// host's window, the host disabled while it shows, closed by Enter.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "mailora/host.h"
#include "ui/form_description.h"
#include "ui/version_form.h"

namespace {

TEST(AboutBoxThroughTheDll, CentredOnHostAndClosedByEnter) {
  mailora::Plugin plugin;
  ASSERT_TRUE(plugin.loaded());
  HWND host = ::CreateWindowExW(0, L"STATIC", L"Mailora", WS_POPUP | WS_BORDER | WS_VISIBLE, 301,
                                203, 500, 401, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(host, nullptr);
  const int okId =
      zv::ui::ControlId(*zv::ui::ControlIndex(zv::ui::kVersionFormDescription, "OKButton"));
  bool seen = false;
  std::thread driver([&] {
    HWND box = nullptr;
    for (int waited = 0; waited < 120000 && !box; waited += 50) {  // emulated runs are slow
      box = ::FindWindowW(L"TVersionForm", nullptr);
      if (!box || !::IsWindowVisible(box)) box = nullptr, ::Sleep(50);
    }
    if (!box) return;
    seen = true;
    RECT b{}, h{};
    ::GetWindowRect(box, &b);
    ::GetWindowRect(host, &h);
    EXPECT_LE(std::abs((b.left + b.right) - (h.left + h.right)), 2);
    EXPECT_LE(std::abs((b.top + b.bottom) - (h.top + h.bottom)), 2);
    RECT c{};
    ::GetClientRect(box, &c);
    EXPECT_EQ(c.right, 352);
    EXPECT_EQ(c.bottom, 126);
    EXPECT_FALSE(::IsWindowEnabled(host));
    HWND ok = ::GetDlgItem(box, okId);
    ::PostMessageW(ok, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageW(ok, WM_KEYUP, VK_RETURN, 0xC0000001);
  });
  plugin.VersionInfo()(host);
  driver.join();
  EXPECT_TRUE(seen);
  EXPECT_EQ(::FindWindowW(L"TVersionForm", nullptr), nullptr);
  EXPECT_TRUE(::IsWindowEnabled(host));
  ::DestroyWindow(host);
}

}  // namespace
