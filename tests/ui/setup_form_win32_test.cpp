// The setup dialog driven as a user drives it: controls found by caption and kind, clicked,
// typed into and keyed from a second thread while the dialog runs modally. What clean-up
// writes to the settings file shows what the dialog did to the patterns.
#include "ui/setup_form_win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "check/patterns.h"
#include "check/patterns_win32.h"
#include "settings/ini_file.h"
#include "settings/ini_file_win32.h"
#include "ui_harness_win32.h"

namespace zv::ui {
namespace {

using zv::test::W;

// ---- the user's side

enum class Kind { kButton, kCheckBox, kRadioButton, kEdit, kMemo, kListBox, kTabs, kOther };

Kind KindOf(HWND w) {
  wchar_t cls[64] = {};
  ::GetClassNameW(w, cls, 64);
  const LONG style = ::GetWindowLongW(w, GWL_STYLE);
  if (_wcsicmp(cls, L"Button") == 0) {
    switch (style & 0x0F) {
      case BS_AUTOCHECKBOX:
      case BS_CHECKBOX:
        return Kind::kCheckBox;
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        return Kind::kRadioButton;
      default:
        return Kind::kButton;
    }
  }
  if (_wcsicmp(cls, L"Edit") == 0) return (style & ES_MULTILINE) ? Kind::kMemo : Kind::kEdit;
  if (_wcsicmp(cls, L"ListBox") == 0) return Kind::kListBox;
  if (_wcsicmp(cls, L"SysTabControl32") == 0) return Kind::kTabs;
  return Kind::kOther;
}

// The one descendant of `root` of `kind` with `caption` (any caption when null); null when
// there is none or more than one.
HWND Find(HWND root, Kind kind, const char* caption = nullptr) {
  struct Search {
    Kind kind;
    std::wstring caption;
    bool anyCaption;
    std::vector<HWND> found;
  } s{kind, caption ? W(caption) : std::wstring(), caption == nullptr, {}};
  ::EnumChildWindows(
      root,
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        if (KindOf(w) == s->kind && (s->anyCaption || zv::test::WindowText(w) == s->caption)) {
          s->found.push_back(w);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found.size() == 1 ? s.found[0] : nullptr;
}

// The memo that shares its panel with the control captioned `caption`.
HWND MemoBeside(HWND form, Kind kind, const char* caption) {
  HWND w = Find(form, kind, caption);
  return w ? Find(::GetParent(w), Kind::kMemo) : nullptr;
}

// The control the description names `name`: for those whose labels are drawn, not windows.
HWND Named(HWND form, std::string_view name) {
  const auto index = ControlIndex(kSetupFormDescription, name);
  return index ? zv::test::FindDescendant(form, ControlId(*index)) : nullptr;
}

bool Checked(HWND w) {
  return ::SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string Text(HWND w) {
  return zv::win::WideToCp932(zv::test::WindowText(w));
}

// Waits until `done` holds: posted input is handled by the dialog's thread in its own time.
bool Eventually(const std::function<bool()>& done, int ms = 5000) {
  for (int waited = 0; waited < ms; waited += 10) {
    if (done()) return true;
    ::Sleep(10);
  }
  return done();
}

// Clicks a button; like the mouse, it does nothing to a disabled one.
void Click(HWND w) {
  if (::IsWindowEnabled(w)) ::PostMessageW(w, BM_CLICK, 0, 0);
}

// Clicks the list box item at `index` with the mouse.
void ClickItem(HWND list, int index) {
  RECT rc{};
  ::SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
  const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(list, WM_LBUTTONUP, 0, at);
  // A list box may notify the change only at the button's release; a marker posted behind the
  // click tells when both have been handled (posted messages are handled in order).
  static LPARAM marker = 0;
  ++marker;
  ::PostMessageW(list, LB_SETITEMDATA, index, marker);
  for (int i = 0; i < 500 && ::SendMessageW(list, LB_GETITEMDATA, index, 0) != marker; ++i) {
    ::Sleep(10);
  }
}

int Selection(HWND list) {
  return static_cast<int>(::SendMessageW(list, LB_GETCURSEL, 0, 0));
}

std::vector<std::string> Items(HWND list) {
  std::vector<std::string> items;
  const int n = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, i, 0);
    if (length == LB_ERR) break;  // changed meanwhile
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got = ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    if (got == LB_ERR) break;
    text.resize(static_cast<size_t>(got));
    items.push_back(zv::win::WideToCp932(text));
  }
  return items;
}

// Selects the memo's whole text and types `text` over it, pressing Enter for each line break.
void Type(HWND memo, std::string_view text) {
  ::PostMessageW(memo, EM_SETSEL, 0, -1);
  size_t breaks = 0;
  for (wchar_t c : W(text)) {
    if (c == L'\r') continue;
    if (c != L'\n') {
      ::PostMessageW(memo, WM_CHAR, c, 1);
      continue;
    }
    // The key becomes a character only when the dialog handles it: wait for the line break.
    zv::test::PressKey(memo, VK_RETURN);
    ++breaks;
    Eventually([&] {
      const std::string now = Text(memo);
      size_t n = 0;
      for (size_t p = now.find("\r\n"); p != std::string::npos; p = now.find("\r\n", p + 2)) ++n;
      return n == breaks;
    });
  }
}

// The control that has the keyboard focus in `form`'s thread.
HWND Focus(HWND form) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ::GetGUIThreadInfo(::GetWindowThreadProcessId(form, nullptr), &info);
  return info.hwndFocus;
}

// The input box the dialog opens, checked for its texts; answered with `answer` and OK, or
// cancelled when there is none.
void AnswerInputBox(const char* title, const char* prompt, const std::string& shown,
                    const std::string* answer) {
  HWND box = zv::test::WaitForWindow(L"TInputForm", (L"  " + W(title)).c_str());
  ASSERT_NE(box, nullptr) << title;
  HWND edit = Find(box, Kind::kEdit);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(Text(Find(box, Kind::kMemo)), prompt);
  EXPECT_EQ(Text(edit), shown);
  if (answer) {
    ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(W(*answer).c_str()));
    zv::test::PressKey(edit, VK_RETURN);
  } else {
    zv::test::PressKey(edit, VK_ESCAPE);
  }
  ASSERT_TRUE(Eventually([&] { return !::IsWindow(box); }));
}

constexpr char kAddTitle[] = "禁句パターンの追加";
constexpr char kAddPrompt[] = "追加する禁句パターンのパターン名を決めてください。";

// The dialog as the user sees it, found by caption and kind.
struct Dialog {
  HWND form;
  HWND list, add, rename, remove, ok, cancel, help, tabs;
  HWND addressMemo, onRadio, offRadio, zorvekMemo, hissukuMemo;
  HWND always, kana, zenkakuText, zenkakuSubject, blankSubject, attach, zorvek, hissuku;
  HWND associate, header, quoted, copies;
  HWND internalMemo, knownMemo, manyRecipients, manyDomains, newDomains, confirm, confirmInternal;

  explicit Dialog(HWND w)
      : form(w),
        list(Find(w, Kind::kListBox)),
        add(Find(w, Kind::kButton, "追加 ...")),
        rename(Find(w, Kind::kButton, "改名 ...")),
        remove(Find(w, Kind::kButton, "削除")),
        ok(Find(w, Kind::kButton, "OK")),
        cancel(Find(w, Kind::kButton, "キャンセル")),
        help(Find(w, Kind::kButton, "ヘルプ")),
        tabs(Find(w, Kind::kTabs)),
        addressMemo(MemoBeside(w, Kind::kRadioButton, "含むメールは")),
        onRadio(Find(w, Kind::kRadioButton, "含むメールは")),
        offRadio(Find(w, Kind::kRadioButton, "含まないメールは")),
        zorvekMemo(MemoBeside(w, Kind::kCheckBox, "以下の禁句が入っていたら警告")),
        hissukuMemo(MemoBeside(w, Kind::kCheckBox, "以下の必須句が入ってなかったら警告")),
        always(Find(w, Kind::kCheckBox, "常に警告")),
        kana(Find(w, Kind::kCheckBox, "半角カナが入っていたら警告")),
        zenkakuText(Find(w, Kind::kCheckBox, "本文に全角文字が入っていたら警告")),
        zenkakuSubject(Find(w, Kind::kCheckBox, "題名に全角文字が入っていたら警告")),
        blankSubject(Find(w, Kind::kCheckBox, "題名が空白だったら警告")),
        attach(Find(w, Kind::kCheckBox, "「添付」と書いて添付してないと警告")),
        zorvek(Find(w, Kind::kCheckBox, "以下の禁句が入っていたら警告")),
        hissuku(Find(w, Kind::kCheckBox, "以下の必須句が入ってなかったら警告")),
        associate(Find(w, Kind::kCheckBox, "Notavo と連携する")),
        header(Find(w, Kind::kCheckBox, "X-Mailer-Plugin ヘッダを付ける")),
        quoted(Find(w, Kind::kCheckBox, "引用行（> で始まる行）は調べない")),
        copies(Find(w, Kind::kCheckBox, "Cc と Bcc の宛先も調べる")),
        internalMemo(Named(w, "InternalDomainsMemo")),
        knownMemo(MemoBeside(w, Kind::kCheckBox, "はじめて送るドメインなら警告")),
        manyRecipients(Named(w, "ManyRecipientsEdit")),
        manyDomains(Named(w, "ManyDomainsEdit")),
        newDomains(Find(w, Kind::kCheckBox, "はじめて送るドメインなら警告")),
        confirm(Find(w, Kind::kCheckBox, "送信前に宛先を確認する")),
        confirmInternal(Find(w, Kind::kCheckBox, "社内の宛先だけのときも確認する")) {}

  std::vector<HWND> All() const {
    return {list,      add,         rename,         remove,       ok,         cancel,      help,
            tabs,      addressMemo, onRadio,        offRadio,     zorvekMemo, hissukuMemo, always,
            kana,      zenkakuText, zenkakuSubject, blankSubject, attach,     zorvek,      hissuku,
            associate, header,      quoted,         copies,       internalMemo, knownMemo,
            manyRecipients, manyDomains, newDomains, confirm, confirmInternal};
  }
  std::vector<HWND> Checks() const {
    return {always, kana, zenkakuText, zenkakuSubject, blankSubject, attach, zorvek, hissuku};
  }
  void Select(int index) const {
    ClickItem(list, index);
    ASSERT_TRUE(Until([&] { return Selection(list) == index && ::IsWindowEnabled(rename); }));
  }
  // Waits until `done` holds, then until the dialog has finished handling what led to it.
  bool Until(const std::function<bool()>& done, int ms = 5000) const {
    const bool held = Eventually(done, ms);
    // Handled only between two of the dialog's messages; bounded, should the dialog be gone.
    ::SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_NORMAL, 2000, nullptr);
    return held;
  }
  // Clicks the tab of page `index`.
  void ShowPage(int index) const {
    RECT rc{};
    ::SendMessageW(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ::PostMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(tabs, WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(Until([&] { return Page() == index; }));
  }
  int Page() const { return static_cast<int>(::SendMessageW(tabs, TCM_GETCURSEL, 0, 0)); }
};

// ---- the plug-in's side

std::string ReadFileBytes(const std::string& path) {
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes(::GetFileSize(f, nullptr), '\0');
  DWORD got = 0;
  ::ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  ::CloseHandle(f);
  return bytes.substr(0, got);
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(f);
}

// A settings file with the given patterns, each as its thirteen fields in table order.
std::string PatternFile(const std::vector<PatternRow>& rows, std::string extra = "") {
  std::string file = "Zorvek\\PatternCount=Integer:" + std::to_string(rows.size()) + "\r\n";
  for (size_t i = 0; i < rows.size(); ++i) {
    for (size_t f = 0; f < kPatternFieldCount; ++f) {
      file += PatternSection(i) + "\\" + std::string(kPatternFields[f].key) +
              "=String:" + EscapeIniValue(rows[i][f]) + "\r\n";
    }
  }
  return file + extra;
}

PatternRow Pattern(std::string name, std::vector<std::pair<PatternField, std::string>> set = {}) {
  PatternRow row = {std::move(name), "",      "True",  "False", "False", "False", "False",
                    "False",         "False", "False", "",      "False", ""};
  for (auto& [f, v] : set) row[static_cast<size_t>(f)] = v;
  return row;
}

// One line of the settings file, such as "Zorvek\Pattern0000\Name=String:a".
bool HasLine(const std::string& file, const std::string& line) {
  return ("\r\n" + file).find("\r\n" + line + "\r\n") != std::string::npos;
}

class SetupDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof temp, temp);
    folder_ = std::string(temp) + "zv-setup-" + std::to_string(::GetCurrentProcessId()) + "\\";
    ::CreateDirectoryA(folder_.c_str(), nullptr);
    path_ = folder_ + "Zorvek32.ini";
    ::DeleteFileA(path_.c_str());
  }
  void TearDown() override {
    win::DestroySetupDialog();
    FreeIniStore();
    ::DeleteFileA(path_.c_str());
    ::RemoveDirectoryA(folder_.c_str());
  }

  // As start-up does it: the store from the file, the hidden dialog, the patterns, the
  // memo-pad check box.
  void StartUp(const std::string& file, bool notavo = false) {
    if (!file.empty()) WriteFileBytes(path_, file);
    ASSERT_NE(LoadIniStore(path_, zv::win::SystemSettingsFiles(), DefaultFormats()),
              IniLoadResult::kUnreadable);
    win::CreateSetupDialog(settings_);
    ASSERT_NE(win::SetupDialog(), nullptr);
    EXPECT_FALSE(::IsWindowVisible(win::SetupDialog()->Handle()));
    zv::LoadPatterns(settings_, *ActiveIniStore(), [&] { return notavo; });
    win::EnableAssociateNotavoCheck(settings_.notavoInstalled);
  }

  // APCSetup: shows the dialog while `drive` works it from another thread. The driver closes
  // the dialog itself; should it fail to, the dialog is closed for it.
  int Setup(const std::function<void(const Dialog&)>& drive) {
    int result = 0;
    zv::test::WhileModal([&] { result = win::ShowSetupDialog(); },
                         [&] {
                           HWND w =
                               zv::test::WaitForWindow(L"TSetupForm", W(kSetupCaption).c_str());
                           EXPECT_NE(w, nullptr);
                           if (!w) return;
                           const Dialog d(w);
                           for (HWND c : d.All()) EXPECT_NE(c, nullptr);
                           drive(d);
                           if (!Eventually([&] { return !::IsWindowVisible(w); }, 3000)) {
                             ADD_FAILURE() << "the dialog stayed open";
                             while (HWND box = ::FindWindowW(L"TInputForm", nullptr)) {
                               ::SendMessageW(box, WM_CLOSE, 0, 0);
                             }
                             ::PostMessageW(w, WM_CLOSE, 0, 0);
                           }
                           EXPECT_TRUE(::IsWindow(w));  // hidden, not destroyed
                         });
    return result;
  }

  // As clean-up does it: the patterns into the store and the file, the dialog destroyed.
  std::string CleanUp() {
    zv::win::SavePatterns(settings_);
    win::DestroySetupDialog();
    FreeIniStore();
    return ReadFileBytes(path_);
  }

  std::string folder_, path_;
  PatternSettings settings_;
};

using F = PatternField;

// Red pixels of the two labels at the top: (leftmost, rightmost) x, or (-1, -1).
std::pair<int, int> RedExtent(HWND form, int bottom) {
  HDC dc = ::GetDC(form);
  const int width = zv::test::ClientSize(form).width;
  int left = -1, right = -1;
  for (int y = 0; y < bottom; ++y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF c = ::GetPixel(dc, x, y);
      if (GetRValue(c) > 160 && GetGValue(c) < 90 && GetBValue(c) < 90) {
        if (left < 0 || x < left) left = x;
        right = std::max(right, x);
      }
    }
  }
  ::ReleaseDC(form, dc);
  return {left, right};
}

TEST_F(SetupDialogTest, OpensWithNothingSelectedAtItsDesignedLayout) {
  StartUp(PatternFile({Pattern("社内", {{F::kAddress, "@example.co.jp"}}), Pattern("作者へ")}));
  EXPECT_EQ(Setup([](const Dialog& d) {
              EXPECT_EQ(Items(d.list), (std::vector<std::string>{"社内", "作者へ"}));
              EXPECT_EQ(Selection(d.list), LB_ERR);
              EXPECT_EQ(d.Page(), 0);
              EXPECT_EQ(Focus(d.form), d.list);
              for (HWND w : {d.addressMemo, d.onRadio, d.offRadio, d.zorvekMemo, d.hissukuMemo,
                             d.rename, d.remove, d.always, d.kana, d.zenkakuText, d.zenkakuSubject,
                             d.blankSubject, d.attach, d.zorvek, d.hissuku}) {
                EXPECT_FALSE(::IsWindowEnabled(w)) << Text(w);
              }
              for (HWND w : {d.list, d.add, d.ok, d.cancel, d.help, d.header}) {
                EXPECT_TRUE(::IsWindowEnabled(w)) << Text(w);
              }
              for (HWND memo : {d.addressMemo, d.zorvekMemo, d.hissukuMemo}) {
                EXPECT_EQ(Text(memo), "");
              }
              EXPECT_TRUE(Checked(d.onRadio));
              EXPECT_FALSE(Checked(d.offRadio));
              for (HWND check : {d.always, d.kana, d.zorvek, d.hissuku}) {
                EXPECT_FALSE(Checked(check));
              }
              // The memo-pad program is absent: its check box is off and disabled.
              EXPECT_FALSE(::IsWindowEnabled(d.associate));
              EXPECT_FALSE(Checked(d.associate));
              EXPECT_TRUE(Checked(d.header));

              // Designed sizes, and OK as the button Enter presses.
              using zv::test::ClientBounds;
              EXPECT_EQ(ClientBounds(::GetParent(d.ok), d.ok), (Rect{16, 4, 75, 25}));
              EXPECT_EQ(ClientBounds(::GetParent(d.cancel), d.cancel), (Rect{100, 4, 75, 25}));
              EXPECT_EQ(ClientBounds(::GetParent(d.help), d.help), (Rect{4, 4, 75, 25}));
              EXPECT_EQ(zv::test::ClientSize(::GetParent(d.help)), (Size{92, 36}));
              EXPECT_EQ(ClientBounds(d.form, ::GetParent(d.help)).right(),
                        zv::test::ClientSize(d.form).width);
              EXPECT_EQ(zv::test::ClientSize(::GetParent(d.ok)).height, 36);
              EXPECT_EQ(ClientBounds(::GetParent(d.add), d.add), (Rect{0, 4, 75, 25}));
              EXPECT_EQ(ClientBounds(::GetParent(d.rename), d.rename), (Rect{0, 32, 75, 25}));
              EXPECT_EQ(ClientBounds(::GetParent(d.remove), d.remove), (Rect{0, 60, 75, 25}));
              EXPECT_EQ(zv::test::ClientSize(::GetParent(d.add)).height, 94);
              EXPECT_EQ(zv::test::ClientSize(d.list).width + 4, 97);  // with its sunken edge
              EXPECT_EQ(zv::test::ScreenBounds(d.addressMemo).height, 63);
              EXPECT_EQ(zv::test::ScreenBounds(d.zorvekMemo).height, 77 - 17);
              for (HWND w : {d.onRadio, d.offRadio, d.always, d.kana, d.zorvek, d.hissuku}) {
                EXPECT_EQ(zv::test::ScreenBounds(w).height, 17) << Text(w);
              }
              EXPECT_EQ(zv::test::ScreenBounds(d.form).width, 432);
              EXPECT_EQ(zv::test::ScreenBounds(d.form).height, 495);
              EXPECT_EQ(::GetWindowLongW(d.ok, GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
              EXPECT_TRUE(::GetWindowLongW(d.tabs, GWL_STYLE) & TCS_MULTILINE);  // tabs wrap
              EXPECT_NE(::SendMessageW(d.form, WM_GETICON, ICON_BIG, 0), 0);
              EXPECT_EQ(zv::test::WindowText(::GetParent(d.list)), L"");  // panels show no caption

              // The two red labels, right-justified above the pages.
              zv::test::SettlePainting(d.form);
              const int top = zv::test::ClientBounds(d.form, d.tabs).top;
              const auto [left, right] = RedExtent(d.form, top);
              EXPECT_GT(left, zv::test::ClientSize(d.form).width / 3);
              EXPECT_GT(right, zv::test::ClientSize(d.form).width - 12);

              zv::test::PressKey(d.list, VK_ESCAPE);
            }),
            2);
}

TEST_F(SetupDialogTest, AddThroughTheInputBox) {
  StartUp(PatternFile({Pattern("社内", {{F::kAlways, "True"}, {F::kZorvek, "秘"}})}));
  const std::string named = "新規", empty, same = "社内";
  EXPECT_EQ(Setup([&](const Dialog& d) {
              d.Select(0);
              Click(d.add);  // cancelled: nothing added
              AnswerInputBox(kAddTitle, kAddPrompt, "新しい禁句パターン", nullptr);
              EXPECT_EQ(Items(d.list), std::vector<std::string>{"社内"});
              EXPECT_EQ(Selection(d.list), 0);

              for (const std::string* name : {&named, &empty, &same}) {
                Click(d.add);
                AnswerInputBox(kAddTitle, kAddPrompt, "新しい禁句パターン", name);
                ASSERT_TRUE(d.Until([&] { return Items(d.list).back() == *name; }));
                const int last = static_cast<int>(Items(d.list).size()) - 1;
                EXPECT_EQ(Selection(d.list), last);
                // Shown with only AddressOnRadio set, everything editable.
                EXPECT_TRUE(Checked(d.onRadio));
                for (HWND check : d.Checks()) EXPECT_FALSE(Checked(check)) << Text(check);
                for (HWND memo : {d.addressMemo, d.zorvekMemo, d.hissukuMemo}) {
                  EXPECT_EQ(Text(memo), "");
                }
                EXPECT_TRUE(::IsWindowEnabled(d.kana));
                EXPECT_TRUE(::IsWindowEnabled(d.rename));
              }
              EXPECT_EQ(Items(d.list), (std::vector<std::string>{"社内", "新規", "", "社内"}));
              // Enter presses OK unless a memo or another button has the focus.
              d.Select(3);
              zv::test::PressKey(d.list, VK_RETURN);
            }),
            2);
  // The close wrote the file with the patterns as they were loaded.
  EXPECT_TRUE(HasLine(ReadFileBytes(path_), "Zorvek\\PatternCount=Integer:1"));
  const std::string saved = CleanUp();
  EXPECT_TRUE(HasLine(saved, "Zorvek\\PatternCount=Integer:4")) << saved;
  const PatternRow fresh = Pattern("新規");
  for (size_t f = 0; f < kPatternFieldCount; ++f) {
    EXPECT_TRUE(HasLine(saved, "Zorvek\\Pattern0001\\" + std::string(kPatternFields[f].key) +
                                   "=String:" + fresh[f]))
        << kPatternFields[f].key;
  }
  EXPECT_TRUE(HasLine(saved, "Zorvek\\Pattern0002\\Name=String:"));
  EXPECT_TRUE(HasLine(saved, "Zorvek\\Pattern0003\\Name=String:社内"));
  EXPECT_TRUE(HasLine(saved, "Zorvek\\Pattern0000\\Always=String:True"));
}

TEST_F(SetupDialogTest, DeletingTheOnlyPatternStoresAnEmptyTable) {
  StartUp(PatternFile({Pattern("唯一", {{F::kAddress, "a@b"}})}));
  EXPECT_EQ(Setup([](const Dialog& d) {
              d.Select(0);
              Click(d.remove);
              ASSERT_TRUE(d.Until([&] { return Items(d.list).empty(); }));
              EXPECT_EQ(Selection(d.list), LB_ERR);
              EXPECT_EQ(Text(d.addressMemo), "");
              EXPECT_FALSE(::IsWindowEnabled(d.addressMemo));
              EXPECT_FALSE(::IsWindowEnabled(d.rename));
              EXPECT_FALSE(::IsWindowEnabled(d.remove));
              Click(d.ok);
            }),
            2);
  EXPECT_TRUE(HasLine(CleanUp(), "Zorvek\\PatternCount=Integer:0"));
  // The next start puts the default pattern back.
  settings_ = {};
  StartUp("");
  ASSERT_EQ(settings_.table.size(), 1u);
  EXPECT_EQ(settings_.table.Get(0, F::kName), "作者へ");
}

// Pictures of every page at the designed size, for the help page: the sample settings that
// ship in examples/, with the pattern for mails outside selected.
TEST_F(SetupDialogTest, Pictures) {
  const std::string sample = ReadFileBytes(ZV_EXAMPLES "\\Zorvek32.ini");
  ASSERT_NE(sample, "<missing>");
  StartUp(sample);
  EXPECT_EQ(Setup([](const Dialog& d) {
              ASSERT_EQ(Items(d.list), (std::vector<std::string>{"作者へ", "社外宛"}));
              d.Select(1);
              const char* pictures[] = {"setup_page_patterns", "setup_page_associate",
                                        "setup_page_other", "setup_page_recipients"};
              for (int page = 0; page < 4; ++page) {
                d.ShowPage(page);
                zv::test::SettlePainting(d.form);
                EXPECT_FALSE(zv::test::SaveScreenshot(d.form, pictures[page]).empty());
              }
              Click(d.cancel);
            }),
            2);
}

TEST_F(SetupDialogTest, EditsSurviveSwitchingAndCancelKeepsTheTable) {
  const std::string file =
      PatternFile({Pattern("一", {{F::kAddress, "one@example.jp"}}),
                   Pattern("二", {{F::kZorvekCheck, "True"}, {F::kZorvek, "旧"}})});
  StartUp(file);
  EXPECT_EQ(Setup([](const Dialog& d) {
              d.Select(1);
              Type(d.addressMemo, "x@example.jp\ny@example.jp");
              Click(d.offRadio);
              Click(d.kana);
              Type(d.zorvekMemo, "新\n");
              Click(d.hissuku);
              ASSERT_TRUE(d.Until([&] { return ::IsWindowEnabled(d.hissukuMemo); }));
              Type(d.hissukuMemo, "必須");
              ASSERT_TRUE(d.Until([&] { return Text(d.hissukuMemo) == "必須"; }));
              EXPECT_TRUE(::IsWindowVisible(d.form));  // Enter in a memo started a new line

              d.Select(0);
              EXPECT_EQ(Text(d.addressMemo), "one@example.jp");
              EXPECT_TRUE(Checked(d.onRadio));
              d.Select(1);
              EXPECT_EQ(Text(d.addressMemo), "x@example.jp\r\ny@example.jp");
              EXPECT_EQ(Text(d.zorvekMemo), "新\r\n");
              EXPECT_EQ(Text(d.hissukuMemo), "必須");
              EXPECT_TRUE(Checked(d.offRadio));
              EXPECT_FALSE(Checked(d.onRadio));
              EXPECT_TRUE(Checked(d.kana));
              EXPECT_TRUE(Checked(d.hissuku));
              for (int page = 0; page < 3; ++page) d.ShowPage(page);
              zv::test::PressKey(d.header, VK_ESCAPE);
            }),
            2);
  // The close saved the layout and the placement, Cancel or not, and the patterns as loaded.
  const std::string closed = ReadFileBytes(path_);
  EXPECT_EQ(closed.rfind(file, 0), 0u) << closed;
  for (const char* line :
       {"SetupForm\\PatternPanelWidth=Integer:97", "SetupForm\\AddressMemoHeight=Integer:63",
        "SetupForm\\ZorvekPanelHeight=Integer:77", "SetupForm\\Page=Integer:2",
        "SetupForm\\State=String:Normal"}) {
    EXPECT_TRUE(HasLine(closed, line)) << line;
  }
  EXPECT_NE(closed.find("SetupForm\\Left=Integer:"), std::string::npos);

  // Shown again: the old values, on the page the user left.
  EXPECT_EQ(Setup([](const Dialog& d) {
              EXPECT_EQ(d.Page(), 2);
              d.ShowPage(0);
              d.Select(1);
              EXPECT_EQ(Text(d.addressMemo), "");
              EXPECT_EQ(Text(d.zorvekMemo), "旧");
              EXPECT_TRUE(Checked(d.onRadio));
              EXPECT_FALSE(Checked(d.kana));
              ::PostMessageW(d.form, WM_SYSCOMMAND, SC_CLOSE, 0);  // the title bar's close button
            }),
            2);
  const std::string saved = CleanUp();
  EXPECT_TRUE(HasLine(saved, "Zorvek\\Pattern0001\\Zorvek=String:旧"));
  EXPECT_TRUE(HasLine(saved, "Zorvek\\Pattern0001\\Kana=String:False"));
}

TEST_F(SetupDialogTest, AlwaysGreysTheOtherOptionsAndOnlyTrueIsChecked) {
  StartUp(PatternFile({Pattern("常時", {{F::kAlways, "True"},
                                        {F::kKana, "true"},
                                        {F::kBlankSubject, "1"},
                                        {F::kAttachCheck, "True"},
                                        {F::kZorvekCheck, "True"},
                                        {F::kHissuCheck, "TRUE"},
                                        {F::kAddressOn, "true"}})}));
  EXPECT_EQ(Setup([](const Dialog& d) {
              d.Select(0);
              EXPECT_TRUE(Checked(d.always));
              EXPECT_TRUE(Checked(d.offRadio));
              EXPECT_FALSE(Checked(d.kana));
              EXPECT_FALSE(Checked(d.blankSubject));
              EXPECT_TRUE(Checked(d.attach));
              EXPECT_TRUE(Checked(d.zorvek));
              EXPECT_FALSE(Checked(d.hissuku));
              EXPECT_TRUE(::IsWindowEnabled(d.always));
              EXPECT_TRUE(::IsWindowEnabled(d.addressMemo));
              for (HWND w : {d.kana, d.zenkakuText, d.zenkakuSubject, d.blankSubject, d.attach,
                             d.zorvek, d.zorvekMemo, d.hissuku, d.hissukuMemo}) {
                EXPECT_FALSE(::IsWindowEnabled(w)) << Text(w);
              }
              Click(d.always);
              ASSERT_TRUE(d.Until([&] { return ::IsWindowEnabled(d.zorvekMemo); }));
              for (HWND w : {d.zenkakuText, d.zenkakuSubject, d.blankSubject, d.attach, d.zorvek,
                             d.zorvekMemo, d.hissuku}) {
                EXPECT_TRUE(::IsWindowEnabled(w)) << Text(w);
              }
              EXPECT_FALSE(::IsWindowEnabled(d.hissukuMemo));  // its own box is off
              Click(d.cancel);
            }),
            2);
  // Loading changed nothing: the odd values go back as they were.
  const std::string saved = CleanUp();
  EXPECT_TRUE(HasLine(saved, "Zorvek\\Pattern0000\\Kana=String:true"));
  EXPECT_TRUE(HasLine(saved, "Zorvek\\Pattern0000\\HissuCheck=String:TRUE"));
}

TEST_F(SetupDialogTest, RenameKeepsTheSelection) {
  StartUp(PatternFile({Pattern("一"), Pattern("二")}));
  EXPECT_EQ(Setup([](const Dialog& d) {
              d.Select(1);
              Click(d.rename);
              const std::string name = "改名後";
              AnswerInputBox("禁句パターンの改名", "禁句パターンのパターン名を決めてください。",
                             "二", &name);
              ASSERT_TRUE(d.Until([&] { return Items(d.list)[1] == name; }));
              EXPECT_EQ(Selection(d.list), 1);
              EXPECT_TRUE(::IsWindowEnabled(d.remove));
              Click(d.attach);
              Click(d.ok);
            }),
            2);
  const std::string saved = CleanUp();
  EXPECT_TRUE(HasLine(saved, "Zorvek\\Pattern0001\\Name=String:改名後"));
  EXPECT_TRUE(HasLine(saved, "Zorvek\\Pattern0001\\AttachCheck=String:True"));
  EXPECT_TRUE(HasLine(saved, "Zorvek\\Pattern0000\\Name=String:一"));
}

// Typed keys, as the keyboard gives them (the modifier state comes with them).
void TypeChord(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD k : keys) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = k;
    inputs.push_back(in);
  }
  for (auto it = keys.end(); it != keys.begin();) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = *--it;
    in.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(in);
  }
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

TEST_F(SetupDialogTest, CtrlTabTurnsThePages) {
  StartUp(PatternFile({Pattern("一")}));
  EXPECT_EQ(Setup([](const Dialog& d) {
              ASSERT_TRUE(d.Until([&] { return ::GetForegroundWindow() == d.form; }));
              EXPECT_EQ(d.Page(), 0);
              TypeChord({VK_CONTROL, VK_TAB});
              ASSERT_TRUE(d.Until([&] { return d.Page() == 1; }));
              EXPECT_TRUE(::IsWindowVisible(d.associate));
              TypeChord({VK_CONTROL, VK_SHIFT, VK_TAB});
              TypeChord({VK_CONTROL, VK_SHIFT, VK_TAB});
              ASSERT_TRUE(d.Until([&] { return d.Page() == 3; }));  // wraps round
              EXPECT_TRUE(::IsWindowVisible(d.knownMemo));
              Click(d.cancel);
            }),
            2);
  EXPECT_TRUE(HasLine(CleanUp(), "SetupForm\\Page=Integer:3"));
}

TEST_F(SetupDialogTest, OptionsGoToTheTableOnOkOnly) {
  const struct {
    bool notavo;
    std::string stored;
    bool clickAssociate, ok;
    const char* associateLine;
    const char* headerLine;
    const char* checkValue;  // of both check options; null: not in the file
  } cases[] = {
      {false, "", true, true, "Associate\\Notavo=Boolean:False",
       "Header\\X-Mailer-Plugin=Boolean:False", "Boolean:True"},
      {true, "Associate\\Notavo=Boolean:False\r\n", true, true, "Associate\\Notavo=Boolean:True",
       "Header\\X-Mailer-Plugin=Boolean:False", "Boolean:True"},
      {true, "Associate\\Notavo=Boolean:False\r\n", true, false, "Associate\\Notavo=Boolean:False",
       "Header\\X-Mailer-Plugin=Boolean:True", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.notavo << c.ok);
    settings_ = {};
    StartUp(PatternFile({Pattern("一")}, c.stored), c.notavo);
    EXPECT_EQ(Setup([&](const Dialog& d) {
                d.ShowPage(1);
                EXPECT_EQ(::IsWindowEnabled(d.associate) != 0, c.notavo);
                Click(d.associate);  // a disabled box does not change
                d.ShowPage(2);
                Click(d.header);
                ASSERT_TRUE(d.Until([&] { return !Checked(d.header); }));
                EXPECT_FALSE(Checked(d.quoted));
                EXPECT_FALSE(Checked(d.copies));
                Click(d.quoted);
                Click(d.copies);
                ASSERT_TRUE(d.Until([&] { return Checked(d.quoted) && Checked(d.copies); }));
                EXPECT_EQ(Checked(d.associate), c.notavo);
                Click(c.ok ? d.ok : d.cancel);
              }),
              2);
    const std::string saved = CleanUp();
    EXPECT_TRUE(HasLine(saved, c.associateLine)) << saved;
    EXPECT_TRUE(HasLine(saved, c.headerLine)) << saved;
    for (const char* key : {"Check\\IgnoreQuotedLines=", "Check\\IncludeCcBcc="}) {
      if (c.checkValue) {
        EXPECT_TRUE(HasLine(saved, key + std::string(c.checkValue))) << saved;
      } else {
        EXPECT_EQ(saved.find(key), std::string::npos) << saved;
      }
    }
  }
}

TEST_F(SetupDialogTest, RecipientsPageGoesToTheSettingsOnOkOnly) {
  for (const bool ok : {false, true}) {
    SCOPED_TRACE(ok);
    settings_ = {};
    const std::string file = PatternFile({Pattern("一")});
    StartUp(file);
    EXPECT_EQ(Setup([&](const Dialog& d) {
                d.ShowPage(3);
                EXPECT_FALSE(::IsWindowEnabled(d.confirmInternal));
                Click(d.confirm);
                ASSERT_TRUE(d.Until([&] { return ::IsWindowEnabled(d.confirmInternal); }));
                Type(d.internalMemo, "own.example\n-boss@own.example");
                Type(d.manyRecipients, "1x2");  // the edit takes digits only
                Type(d.manyDomains, "12345");   // and four of them
                ASSERT_TRUE(d.Until([&] { return Text(d.manyDomains) == "1234"; }));
                EXPECT_EQ(Text(d.manyRecipients), "12");
                Click(d.newDomains);
                Type(d.knownMemo, "client.example");
                ASSERT_TRUE(d.Until([&] { return Text(d.knownMemo) == "client.example"; }));
                Click(ok ? d.ok : d.cancel);
              }),
              2);
    const std::string saved = CleanUp();
    if (!ok) {
      EXPECT_EQ(saved.find("Recipients"), std::string::npos) << saved;
      continue;
    }
    for (const char* line : {"Recipients\\InternalDomains=String:own.example%0D%0A-boss@own.example",
                             "Recipients\\KnownDomains=String:client.example",
                             "Recipients\\ManyRecipients=Integer:12",
                             "Recipients\\ManyDomains=Integer:1234",
                             "Recipients\\NewDomains=Boolean:True",
                             "Recipients\\Confirm=Boolean:True"}) {
      EXPECT_TRUE(HasLine(saved, line)) << line << "\n" << saved;
    }
    EXPECT_EQ(saved.find("ConfirmInternal"), std::string::npos) << saved;
  }
}

TEST_F(SetupDialogTest, AHundredThousandCharactersPasteIntoTheWordMemo) {
  std::string words;  // 11,112 lines of nine characters each
  for (int i = 0; words.size() < 100000 * 10 / 9; ++i) {
    words += "w" + std::to_string(100000 + i).substr(1) + "語\r\n";
  }
  StartUp(PatternFile({Pattern("一", {{F::kZorvekCheck, "True"}})}));
  EXPECT_EQ(Setup([&](const Dialog& d) {
              d.Select(0);
              // As a paste inserts it: bound by the typing limit, unlike WM_SETTEXT.
              ::SendMessageW(d.zorvekMemo, EM_REPLACESEL, TRUE,
                             reinterpret_cast<LPARAM>(W(words).c_str()));
              EXPECT_EQ(Text(d.zorvekMemo), words);
              Click(d.ok);
            }),
            2);
  CleanUp();
  ASSERT_EQ(LoadIniStore(path_, zv::win::SystemSettingsFiles(), DefaultFormats()),
            IniLoadResult::kLoaded);
  PatternSettings saved;
  zv::LoadPatterns(saved, *ActiveIniStore(), [] { return false; });
  ASSERT_EQ(saved.table.size(), 1u);
  EXPECT_EQ(saved.table.Get(0, F::kZorvek), words);
}

TEST_F(SetupDialogTest, UntouchedTextsGoBackByteForByte) {
  // NEC and IBM duplicates and lone lead bytes come back from UTF-16 as other bytes.
  const std::string name = "\x87\x90\xEE\xEF名\x82";
  const std::string words = "\x87\x90\r\nx\x82\r\n\xEE\xEF";
  StartUp(PatternFile({Pattern(name, {{F::kZorvekCheck, "True"}, {F::kZorvek, words}}),
                       Pattern("二")}));
  EXPECT_EQ(Setup([](const Dialog& d) {
              d.Select(0);
              d.Select(1);
              Type(d.addressMemo, "a@b");
              ASSERT_TRUE(d.Until([&] { return Text(d.addressMemo) == "a@b"; }));
              Click(d.ok);
            }),
            2);
  const std::string saved = CleanUp();
  EXPECT_TRUE(HasLine(saved, "Zorvek\\Pattern0000\\Name=String:" + EscapeIniValue(name)));
  EXPECT_TRUE(HasLine(saved, "Zorvek\\Pattern0000\\Zorvek=String:" + EscapeIniValue(words)));
  EXPECT_TRUE(HasLine(saved, "Zorvek\\Pattern0001\\Address=String:a@b"));
}

// Drags a splitter with the mouse by (dx, dy); Esc before the release abandons the drag.
void Drag(HWND splitter, int dx, int dy, bool escape = false) {
  ::PostMessageW(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  ::PostMessageW(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2 + dx / 2, 2 + dy / 2));
  ::PostMessageW(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2 + dx, 2 + dy));
  if (escape) zv::test::PressKey(splitter, VK_ESCAPE);
  ::PostMessageW(splitter, WM_LBUTTONUP, 0, MAKELPARAM(2 + dx, 2 + dy));
}

// The splitter beside `pane` on the side it resizes.
HWND SplitterAfter(HWND pane, bool vertical) {
  const Rect b = zv::test::ScreenBounds(pane);
  const POINT p = vertical ? POINT{b.right() + 2, b.top + 20} : POINT{b.left + 20, b.bottom() + 2};
  return ::WindowFromPoint(p);
}

TEST_F(SetupDialogTest, SplittersResizeWithinLimitsAndTheSizesAreKept) {
  StartUp(PatternFile({Pattern("一")}));
  EXPECT_EQ(Setup([](const Dialog& d) {
              HWND patternPanel = ::GetParent(d.list);
              HWND panel1 = ::GetParent(d.addressMemo);
              HWND zorvekPanel = ::GetParent(d.zorvekMemo);
              auto width = [&] { return zv::test::ScreenBounds(patternPanel).width; };
              auto height = [](HWND w) { return zv::test::ScreenBounds(w).height; };
              HWND patternSplitter = SplitterAfter(patternPanel, true);
              HWND addressSplitter = SplitterAfter(panel1, false);
              HWND zorvekSplitter = SplitterAfter(zorvekPanel, false);
              const int page = zv::test::ClientSize(::GetParent(patternPanel)).width;

              Drag(patternSplitter, 40, 0);
              ASSERT_TRUE(d.Until([&] { return width() == 137; })) << width();
              Drag(patternSplitter, -500, 0);
              ASSERT_TRUE(d.Until([&] { return width() == 30; })) << width();
              Drag(patternSplitter, 1000, 0);
              ASSERT_TRUE(d.Until([&] { return width() == page - 6 - 30; })) << width();
              Drag(patternSplitter, -100, 0, true);  // abandoned
              Drag(patternSplitter, -(page - 6 - 30 - 120), 0);
              ASSERT_TRUE(d.Until([&] { return width() == 120; })) << width();

              Drag(addressSplitter, 0, 25);
              ASSERT_TRUE(d.Until([&] { return height(d.addressMemo) == 63 + 25; }));
              EXPECT_EQ(height(panel1), 97 + 25);
              Drag(zorvekSplitter, 0, -200);
              ASSERT_TRUE(d.Until([&] { return height(zorvekPanel) == 30; }));
              zv::test::SettlePainting(d.form);
              zv::test::SaveScreenshot(d.form, "setup_splitters_moved");
              Click(d.cancel);
            }),
            2);
  const std::string closed = ReadFileBytes(path_);
  EXPECT_TRUE(HasLine(closed, "SetupForm\\PatternPanelWidth=Integer:120")) << closed;
  EXPECT_TRUE(HasLine(closed, "SetupForm\\AddressMemoHeight=Integer:88"));
  EXPECT_TRUE(HasLine(closed, "SetupForm\\ZorvekPanelHeight=Integer:30"));

  // A new run creates the dialog with those sizes.
  CleanUp();
  StartUp("");
  EXPECT_EQ(Setup([](const Dialog& d) {
              EXPECT_EQ(zv::test::ScreenBounds(::GetParent(d.list)).width, 120);
              EXPECT_EQ(zv::test::ScreenBounds(d.addressMemo).height, 88);
              EXPECT_EQ(zv::test::ScreenBounds(::GetParent(d.zorvekMemo)).height, 30);
              Click(d.cancel);
            }),
            2);
}

TEST_F(SetupDialogTest, TabOrderOfTheFirstPage) {
  const struct {
    const char* addressOn;
    bool onRadio;  // the radio button in the order
  } cases[] = {{"True", true}, {"False", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.addressOn);
    settings_ = {};
    StartUp(PatternFile({Pattern(
        "一",
        {{F::kAddressOn, c.addressOn}, {F::kZorvekCheck, "True"}, {F::kHissuCheck, "True"}})}));
    EXPECT_EQ(Setup([&](const Dialog& d) {
                d.Select(0);
                const std::vector<HWND> expected = {
                    d.list,           d.add,          d.rename,
                    d.remove,         d.addressMemo,  c.onRadio ? d.onRadio : d.offRadio,
                    d.always,         d.kana,         d.zenkakuText,
                    d.zenkakuSubject, d.blankSubject, d.attach,
                    d.zorvek,         d.zorvekMemo,   d.hissuku,
                    d.hissukuMemo,    d.ok,           d.cancel,
                    d.help,           d.list};
                std::vector<HWND> order = {Focus(d.form)};
                for (size_t i = 1; i < expected.size(); ++i) {
                  zv::test::PressKey(order.back(), VK_TAB);
                  Eventually([&] { return Focus(d.form) != order.back(); }, 1000);
                  order.push_back(Focus(d.form));
                }
                for (size_t i = 0; i < expected.size(); ++i) {
                  EXPECT_EQ(order[i], expected[i]) << i << " " << Text(order[i]);
                }
                for (HWND memo : {d.addressMemo, d.zorvekMemo, d.hissukuMemo}) {
                  EXPECT_EQ(Text(memo), "");  // Tab moved on, it typed nothing
                }
                // Esc in a memo is Cancel as anywhere else; the memo stays.
                ::PostMessageW(d.hissukuMemo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
                ::PostMessageW(d.hissukuMemo, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
                ASSERT_TRUE(d.Until([&] { return Focus(d.form) == d.hissukuMemo; }));
                zv::test::PressKey(d.hissukuMemo, VK_ESCAPE);
                ASSERT_TRUE(Eventually([&] { return !::IsWindowVisible(d.form); }));
                EXPECT_TRUE(::IsWindow(d.hissukuMemo));
              }),
              2);
    CleanUp();
  }
}
}  // namespace
}  // namespace zv::ui
