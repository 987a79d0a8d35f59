// The toolkit with a form laid out like a settings dialog: docking in panels and tab sheets,
// splitters, the alignable check box and radio button, tab order and keyboard.
#include "ui/forms_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/alignable_check_box_win32.h"
#include "ui/alignable_radio_button_win32.h"
#include "ui_harness_win32.h"

namespace zv::win {
namespace {

using K = ui::ControlKind;

constexpr ui::ControlDescription kControls[] = {
    {.name = "Label1",
     .kind = K::kLabel,
     .caption = "右寄せの赤い見出し ",
     .bounds = {0, 0, 10, 12},
     .align = ui::alTop,
     .options = ui::kRightJustify,
     .fontColor = 0x0000FF},
    {.name = "ButtonPanel",
     .kind = K::kPanel,
     .bounds = {0, 400, 100, 36},
     .align = ui::alBottom,
     .tabOrder = 1},
    {.name = "OKButton",
     .kind = K::kButton,
     .parent = "ButtonPanel",
     .caption = "OK",
     .bounds = {16, 4, 75, 25},
     .tabOrder = 0,
     .options = ui::kDefault,
     .modalResult = ui::kModalOk},
    {.name = "CancelButton",
     .kind = K::kButton,
     .parent = "ButtonPanel",
     .caption = "キャンセル",
     .bounds = {100, 4, 75, 25},
     .tabOrder = 1,
     .options = ui::kCancel,
     .modalResult = ui::kModalCancel},
    {.name = "HelpPanel",
     .kind = K::kPanel,
     .parent = "ButtonPanel",
     .bounds = {300, 0, 92, 36},
     .align = ui::alRight,
     .tabOrder = 2},
    {.name = "HelpButton",
     .kind = K::kButton,
     .parent = "HelpPanel",
     .caption = "ヘルプ",
     .bounds = {4, 4, 75, 25},
     .tabOrder = 0,
     .onClick = "HelpButtonClick"},
    {.name = "PageControl",
     .kind = K::kPageControl,
     .bounds = {0, 20, 100, 100},
     .align = ui::alClient,
     .tabOrder = 0,
     .options = ui::kMultiLineTabs},
    {.name = "ZorvekPage",
     .kind = K::kTabSheet,
     .parent = "PageControl",
     .caption = "禁句／必須句"},
    {.name = "PatternPanel",
     .kind = K::kPanel,
     .parent = "ZorvekPage",
     .bounds = {0, 0, 97, 100},
     .align = ui::alLeft,
     .tabOrder = 0},
    {.name = "PatternLabel",
     .kind = K::kLabel,
     .parent = "PatternPanel",
     .caption = "禁句パターン",
     .bounds = {0, 0, 97, 12},
     .align = ui::alTop},
    {.name = "PatternButtonPanel",
     .kind = K::kPanel,
     .parent = "PatternPanel",
     .bounds = {0, 10, 97, 94},
     .align = ui::alBottom,
     .tabOrder = 1},
    {.name = "PatternAddButton",
     .kind = K::kButton,
     .parent = "PatternButtonPanel",
     .caption = "追加 ...",
     .bounds = {0, 4, 75, 25},
     .tabOrder = 0},
    {.name = "PatternListBox",
     .kind = K::kListBox,
     .parent = "PatternPanel",
     .bounds = {0, 12, 97, 50},
     .align = ui::alClient,
     .tabOrder = 0,
     .onClick = "PatternListBoxClick"},
    {.name = "PatternSplitter",
     .kind = K::kSplitter,
     .parent = "ZorvekPage",
     .bounds = {97, 0, 6, 100},
     .align = ui::alLeft},
    {.name = "DetailPanel",
     .kind = K::kPanel,
     .parent = "ZorvekPage",
     .bounds = {103, 0, 200, 100},
     .align = ui::alClient,
     .tabOrder = 1},
    {.name = "Panel1",
     .kind = K::kPanel,
     .parent = "DetailPanel",
     .bounds = {0, 0, 200, 97},
     .align = ui::alTop,
     .tabOrder = 0},
    {.name = "AddressOffRadio",
     .kind = K::kAlignableRadioButton,
     .parent = "Panel1",
     .caption = "含まないメールは",
     .bounds = {0, 80, 200, 17},
     .align = ui::alBottom,
     .tabOrder = 2,
     .onClick = "AddressRadioClick"},
    {.name = "AddressOnRadio",
     .kind = K::kAlignableRadioButton,
     .parent = "Panel1",
     .caption = "含むメールは",
     .bounds = {0, 63, 200, 17},
     .align = ui::alBottom,
     .tabOrder = 1,
     .options = ui::kChecked,
     .onClick = "AddressRadioClick"},
    {.name = "AddressMemo",
     .kind = K::kMemo,
     .parent = "Panel1",
     .bounds = {0, 0, 200, 63},
     .align = ui::alClient,
     .tabOrder = 0,
     .options = ui::kVScroll | ui::kHScroll,
     .onChange = "MemoChange"},
    {.name = "AddressSplitter",
     .kind = K::kSplitter,
     .parent = "DetailPanel",
     .bounds = {0, 97, 200, 6},
     .align = ui::alTop},
    {.name = "AlwaysCheck",
     .kind = K::kAlignableCheckBox,
     .parent = "DetailPanel",
     .caption = "常に警告",
     .bounds = {0, 103, 200, 17},
     .align = ui::alTop,
     .tabOrder = 1,
     .onClick = "CheckClick"},
    {.name = "KanaCheck",
     .kind = K::kAlignableCheckBox,
     .parent = "DetailPanel",
     .caption = "半角カナが入っていたら警告",
     .bounds = {0, 120, 200, 17},
     .align = ui::alTop,
     .tabOrder = 2,
     .onClick = "CheckClick"},
    {.name = "HeaderPage", .kind = K::kTabSheet, .parent = "PageControl", .caption = "その他"},
    {.name = "HeaderCheck",
     .kind = K::kAlignableCheckBox,
     .parent = "HeaderPage",
     .caption = "X-Mailer-Plugin ヘッダを付ける",
     .bounds = {0, 0, 200, 17},
     .align = ui::alTop,
     .tabOrder = 0},
};

const ui::FormDescription kTestForm = {
    .name = "TestSetupForm",
    .className = "TTestSetupForm",
    .caption = "Zorvek32 のセットアップ",
    .size = {432, 495},
    .origin = {100, 80},
    .font = ui::kFormFont,
    .onCreate = "FormCreate",
    .onShow = "FormShow",
    .onClose = "FormClose",
    .controls = kControls,
};

class TTestSetupForm final : public TForm {
 public:
  TTestSetupForm() : TForm(kTestForm) {
    auto count = [this](const char* name) { return [this, name] { events.push_back(name); }; };
    Load({{"FormCreate", count("FormCreate")},
          {"FormShow", count("FormShow")},
          {"FormClose", count("FormClose")},
          {"HelpButtonClick", count("HelpButtonClick")},
          {"PatternListBoxClick", count("PatternListBoxClick")},
          {"AddressRadioClick", count("AddressRadioClick")},
          {"MemoChange", count("MemoChange")},
          {"CheckClick", count("CheckClick")}});
  }
  template <typename T>
  T& Get(const char* name) {
    T* c = Find<T>(name);
    if (!c) throw std::runtime_error(name);
    return *c;
  }
  std::vector<std::string> events;
};

TEST(Forms, DescriptionIsSound) {
  EXPECT_EQ(ui::CheckFormDescription(kTestForm), std::vector<std::string>{});
}

TEST(Forms, DocksInFormPanelsAndTabSheets) {
  TTestSetupForm form;
  EXPECT_EQ(form.events, std::vector<std::string>{"FormCreate"});
  const ui::Size client = form.ClientSize();
  const ui::Rect label = form.Get<TLabel>("Label1").Bounds();
  EXPECT_EQ(label.top, 0);
  EXPECT_EQ(label.width, client.width);
  EXPECT_GT(label.height, 0);
  EXPECT_EQ(form.Get<TPanel>("ButtonPanel").Bounds(),
            (ui::Rect{0, client.height - 36, client.width, 36}));
  EXPECT_EQ(form.Get<TPanel>("HelpPanel").Bounds(), (ui::Rect{client.width - 92, 0, 92, 36}));
  const ui::Rect pages = form.Get<TPageControl>("PageControl").Bounds();
  EXPECT_EQ(pages, (ui::Rect{0, label.height, client.width, client.height - 36 - label.height}));

  auto& sheet = *form.Find<TContainer>("ZorvekPage");
  const ui::Rect area = sheet.DockArea();
  EXPECT_GT(area.height, 100);
  EXPECT_EQ(form.Get<TPanel>("PatternPanel").Bounds(), (ui::Rect{0, 0, 97, area.height}));
  EXPECT_EQ(form.Get<TSplitter>("PatternSplitter").Bounds(), (ui::Rect{97, 0, 6, area.height}));
  EXPECT_EQ(form.Get<TPanel>("DetailPanel").Bounds(),
            (ui::Rect{103, 0, area.width - 103, area.height}));
  // Bottom-docked radio buttons: the one designed lower ends up lowest.
  const int w = area.width - 103;
  EXPECT_EQ(form.Get<TAlignableRadioButton>("AddressOffRadio").Bounds(), (ui::Rect{0, 80, w, 17}));
  EXPECT_EQ(form.Get<TAlignableRadioButton>("AddressOnRadio").Bounds(), (ui::Rect{0, 63, w, 17}));
  EXPECT_EQ(form.Get<TMemo>("AddressMemo").Bounds(), (ui::Rect{0, 0, w, 63}));
  EXPECT_EQ(form.Get<TAlignableCheckBox>("AlwaysCheck").Bounds(), (ui::Rect{0, 103, w, 17}));
  EXPECT_EQ(form.Get<TAlignableCheckBox>("KanaCheck").Bounds(), (ui::Rect{0, 120, w, 17}));

  // The window itself sits where the control says.
  HWND kana = form.Get<TAlignableCheckBox>("KanaCheck").Handle();
  EXPECT_EQ(zv::test::ClientBounds(form.Get<TPanel>("DetailPanel").Handle(), kana),
            (ui::Rect{0, 120, w, 17}));

  // A larger form: the fill areas grow, the docked sizes stay.
  form.SetBounds({100, 80, 532, 595});
  const ui::Rect wider = form.Get<TPanel>("DetailPanel").Bounds();
  EXPECT_EQ(wider.width, w + 100);
  EXPECT_EQ(form.Get<TPanel>("PatternPanel").Bounds().width, 97);
  EXPECT_EQ(form.Get<TAlignableCheckBox>("KanaCheck").Bounds().width, w + 100);
}

TEST(Forms, AlignableControlsDockHideAndUndock) {
  TTestSetupForm form;
  auto& always = form.Get<TAlignableCheckBox>("AlwaysCheck");
  auto& kana = form.Get<TAlignableCheckBox>("KanaCheck");
  EXPECT_EQ(always.Align(), ui::alTop);

  // Hidden, it takes no room and the next one closes up.
  always.SetVisible(false);
  EXPECT_EQ(kana.Bounds().top, 103);
  always.SetVisible(true);
  EXPECT_EQ(always.Bounds().top, 103);
  EXPECT_EQ(kana.Bounds().top, 120);

  // alNone leaves the control exactly where it was; the others dock without it.
  const ui::Rect before = always.Bounds();
  always.SetAlign(ui::alNone);
  EXPECT_EQ(always.Align(), ui::alNone);
  EXPECT_EQ(always.Bounds(), before);
  EXPECT_EQ(kana.Bounds().top, 103);
  // Docked again at the bottom of the panel.
  always.SetAlign(ui::alBottom);
  const ui::Rect detail = form.Get<TPanel>("DetailPanel").Bounds();
  EXPECT_EQ(always.Bounds().bottom(), detail.height);

  // A resized docked control keeps its place in the order.
  auto& panel1 = form.Get<TPanel>("Panel1");
  panel1.SetHeight(120);
  EXPECT_EQ(panel1.Bounds().top, 0);
  EXPECT_EQ(form.Get<TSplitter>("AddressSplitter").Bounds().top, 120);
  EXPECT_EQ(kana.Bounds().top, 126);
}

TEST(Forms, RadioButtonsCheckOneAndTabStopTheChecked) {
  TTestSetupForm form;
  auto& on = form.Get<TAlignableRadioButton>("AddressOnRadio");
  auto& off = form.Get<TAlignableRadioButton>("AddressOffRadio");
  EXPECT_TRUE(on.Checked());
  EXPECT_TRUE(on.TabStop());
  EXPECT_FALSE(off.TabStop());
  off.SetChecked(true);
  EXPECT_FALSE(on.Checked());
  EXPECT_FALSE(on.TabStop());
  EXPECT_TRUE(off.TabStop());
  EXPECT_TRUE(form.events.size() == 1);  // changes by the program raise no click
}

TEST(Forms, PagesSwitchAndDockTheirOwnControls) {
  TTestSetupForm form;
  auto& pages = form.Get<TPageControl>("PageControl");
  EXPECT_EQ(pages.PageCount(), 2);
  EXPECT_EQ(pages.ActivePageIndex(), 0);
  auto& zorvek = *form.Find<TContainer>("ZorvekPage");
  auto& header = *form.Find<TContainer>("HeaderPage");
  EXPECT_TRUE(zorvek.Visible());
  EXPECT_FALSE(header.Visible());
  pages.SetActivePageIndex(1);
  EXPECT_FALSE(zorvek.Visible());
  EXPECT_TRUE(header.Visible());
  EXPECT_EQ(form.Get<TAlignableCheckBox>("HeaderCheck").Bounds(),
            (ui::Rect{0, 0, header.DockArea().width, 17}));
  pages.SetActivePageIndex(5);  // no such page: nothing changes
  EXPECT_EQ(pages.ActivePageIndex(), 1);
}

TEST(Forms, SplitterDragResizesWithinLimitsAndEscAbandons) {
  TTestSetupForm form;
  form.SetVisible(true);
  auto& splitter = form.Get<TSplitter>("PatternSplitter");
  auto& pattern = form.Get<TPanel>("PatternPanel");
  const int area = form.Find<TContainer>("ZorvekPage")->DockArea().width;
  auto drag = [&](int dx, bool escape) {
    HWND s = splitter.Handle();
    ::SendMessageW(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 10));
    EXPECT_TRUE(splitter.Dragging());
    ::SendMessageW(s, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3 + dx, 10));
    if (escape) {
      ::SendMessageW(s, WM_KEYDOWN, VK_ESCAPE, 0);
      ::SendMessageW(s, WM_LBUTTONUP, 0, MAKELPARAM(3 + dx, 10));
    } else {
      ::SendMessageW(s, WM_LBUTTONUP, 0, MAKELPARAM(3 + dx, 10));
    }
    EXPECT_FALSE(splitter.Dragging());
  };
  struct Row {
    int dx;
    bool escape;
    int width;  // of the pattern pane afterwards
  };
  const Row rows[] = {{50, false, 147},
                      {-200, false, 30},
                      {1000, false, area - 30 - 6},
                      {-40, true, area - 30 - 6},
                      {-100, false, area - 30 - 6 - 100}};
  for (const Row& r : rows) {
    drag(r.dx, r.escape);
    EXPECT_EQ(pattern.Bounds().width, r.width) << r.dx;
    EXPECT_EQ(splitter.Bounds().left, r.width) << r.dx;
  }
  // The vertical one resizes the panel above it.
  auto& vertical = form.Get<TSplitter>("AddressSplitter");
  ::SendMessageW(vertical.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 2));
  ::SendMessageW(vertical.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 22));
  EXPECT_EQ(form.Get<TPanel>("Panel1").Bounds().height, 117);
  EXPECT_EQ(form.Get<TAlignableCheckBox>("AlwaysCheck").Bounds().top, 123);
  zv::test::SettlePainting(form.Handle());
}

// A drag sees the docking in force: both re-docked to the right, the splitter resizes the
// pattern pane to its right.
TEST(Forms, SplitterDragFollowsDockingChangedAtRunTime) {
  TTestSetupForm form;
  form.SetVisible(true);
  auto& splitter = form.Get<TSplitter>("PatternSplitter");
  auto& pattern = form.Get<TPanel>("PatternPanel");
  pattern.SetAlign(ui::alRight);
  splitter.SetAlign(ui::alRight);
  ::SendMessageW(splitter.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 10));
  ::SendMessageW(splitter.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3 - 50, 10));
  EXPECT_EQ(pattern.Bounds().width, 147);
  EXPECT_EQ(splitter.Bounds().right(), pattern.Bounds().left);
}

TEST(Forms, TabOrderFollowsTheDescription) {
  TTestSetupForm form;
  form.SetVisible(true);
  std::vector<std::string> order;
  HWND first = ::GetNextDlgTabItem(form.Handle(), nullptr, FALSE);
  HWND w = first;
  for (int i = 0; i < 20 && w; ++i) {
    TWinControl* c = TWinControl::FromHandle(w);
    order.push_back(c ? std::string(c->Name()) : "?");
    w = ::GetNextDlgTabItem(form.Handle(), w, FALSE);
    if (w == first) break;
  }
  EXPECT_EQ(order, (std::vector<std::string>{"PatternListBox", "PatternAddButton", "AddressMemo",
                                             "AddressOnRadio", "AlwaysCheck", "KanaCheck",
                                             "OKButton", "CancelButton", "HelpButton"}));
}

TEST(Forms, ModalKeysAndEvents) {
  TTestSetupForm form;
  HWND memo = form.Get<TMemo>("AddressMemo").Handle();
  HWND help = form.Get<TButton>("HelpButton").Handle();
  HWND check = form.Get<TAlignableCheckBox>("KanaCheck").Handle();
  int result = 0;
  zv::test::WhileModal([&] { result = form.ShowModal(); },
                       [&] {
                         HWND w = zv::test::WaitForWindow(L"TTestSetupForm");
                         ASSERT_NE(w, nullptr);
                         EXPECT_EQ(zv::test::WindowText(w), zv::test::W("Zorvek32 のセットアップ"));
                         zv::test::SettlePainting(w);
                         zv::test::SaveScreenshot(w, "toolkit_setup_like");
                         ::PostMessageW(help, BM_CLICK, 0, 0);
                         ::PostMessageW(check, BM_CLICK, 0, 0);
                         ::SendMessageW(memo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"a"));
                         ::PostMessageW(memo, WM_CHAR, 'b', 0);
                         zv::test::PressKey(memo, VK_RETURN);  // a memo takes Enter
                         ::Sleep(200);
                         EXPECT_TRUE(::IsWindowVisible(w));
                         zv::test::PressKey(check, VK_RETURN);  // elsewhere Enter is OK
                       });
  EXPECT_EQ(result, ui::kModalOk);
  EXPECT_FALSE(::IsWindowVisible(form.Handle()));  // hidden, not destroyed
  ASSERT_GE(form.events.size(), 5u);
  EXPECT_EQ(form.events[0], "FormCreate");
  EXPECT_EQ(form.events[1], "FormShow");
  EXPECT_EQ(form.events[2], "HelpButtonClick");
  EXPECT_EQ(form.events[3], "CheckClick");
  EXPECT_EQ(form.events.back(), "FormClose");
  EXPECT_NE(std::find(form.events.begin(), form.events.end(), "MemoChange"), form.events.end());
  EXPECT_TRUE(form.Get<TAlignableCheckBox>("KanaCheck").Checked());
  // Shown again, Esc gives cancel.
  zv::test::WhileModal([&] { result = form.ShowModal(); },
                       [&] {
                         ASSERT_NE(zv::test::WaitForWindow(L"TTestSetupForm"), nullptr);
                         zv::test::PressKey(check, VK_ESCAPE);
                       });
  EXPECT_EQ(result, ui::kModalCancel);
}

}  // namespace
}  // namespace zv::win
