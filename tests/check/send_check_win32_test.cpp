// The warning box and the attachment test on real windows, under code page 932.
#include "check/send_check_win32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "mime/charset_win32.h"
#include "plugin/send_check_host_win32.h"
#include "ui/ui_harness_win32.h"

namespace zv::win {
namespace {

// What a second thread saw of the warning box before answering it.
struct BoxSeen {
  bool found = false;
  std::string title;
  std::string text;
  bool owned = true;
  bool yesNoOnly = false;
};

// Waits for a message box titled `title` (up to ten seconds, or until joined), reads it and
// presses `button`. A box blocks the call under test, so once that call has returned, joining
// stops the wait.
class BoxAnswerer {
 public:
  // With a `picture` name, the box is saved as that screenshot before it is answered.
  BoxAnswerer(std::string title, int button, std::string picture = "")
      : picture_(std::move(picture)),
        thread_([this, title = std::move(title), button] { Run(title, button); }) {}
  ~BoxAnswerer() { Join(); }
  const BoxSeen& Join() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return seen_;
  }

 private:
  void Run(const std::string& title, int button) {
    HWND box = nullptr;
    for (int i = 0; i < 500 && !box && !stop_; ++i) {
      box = ::FindWindowA("#32770", title.c_str());
      if (!box) ::Sleep(20);
    }
    if (!box) return;
    seen_.found = true;
    char text[4096] = {};
    ::GetWindowTextA(::GetDlgItem(box, 0xFFFF), text, sizeof text);
    seen_.text = text;
    char caption[256] = {};
    ::GetWindowTextA(box, caption, sizeof caption);
    seen_.title = caption;
    seen_.owned = ::GetWindow(box, GW_OWNER) != nullptr;
    seen_.yesNoOnly = ::GetDlgItem(box, IDYES) && ::GetDlgItem(box, IDNO) &&
                      !::GetDlgItem(box, IDOK) && !::GetDlgItem(box, IDCANCEL);
    if (!picture_.empty()) {
      zv::test::SettlePainting(box);
      zv::test::SaveScreenshot(box, picture_);
    }
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, button)));
  }

  BoxSeen seen_;
  std::string picture_;
  std::atomic<bool> stop_ = false;
  std::thread thread_;
};

const std::string kTitle = "Zorvek32 からの警告";

// A warning as users meet it, for the help page.
TEST(WarningBox, Picture) {
  const std::string text =
      "■禁句パターン【社外宛】\r\n・「添付」と書かれていますが、添付ファイルがありません。\r\n"
      "・以下の禁句が入っています。\r\n「社外秘」\r\n"
      "・以下の必須句が入っていません。\r\n「株式会社テサリー」\r\n\r\n送信しますか？";
  BoxAnswerer answerer(kTitle, IDNO, "warning_box");
  EXPECT_FALSE(AskWarningBox(text, kTitle));
  EXPECT_TRUE(answerer.Join().found);
}

// The recipient block with all three warnings, as the check writes it, for the help page. The
// look-alike swaps two letters: in the box's small font an "m" for an "n" would not show.
TEST(WarningBox, RecipientsPicture) {
  PatternSettings settings;
  settings.recipients = {.internalDomains = "tessaly.example",
                         .knownDomains = "client.example",
                         .manyRecipients = 5,
                         .manyDomains = 3,
                         .newDomains = true};
  const std::string header =
      "To: 山本 様 <yamamoto@client.example>, 佐々木 様 <sasaki@cleint.example>\r\n"
      "Cc: ito@partner.example, tanaka@tessaly.example, suzuki@tessaly.example\r\n"
      "Subject: 見積書の件\r\n";
  struct NoPatterns : SendCheckHost {
    Attachment TestAttachment() override { return Attachment::kUnknown; }
    bool AskUser(std::string_view, std::string_view) override { return false; }
  } host;
  Win32CharsetConverter converter;
  const std::string text =
      ComposeWarning(settings.table, header, "本文", host, CheckOptionsOf(settings, converter));
  EXPECT_EQ(text,
            "■宛先\r\n・宛先（To と Cc）が 5 件あります。\r\n・社外のドメインが 3 個あります。\r\n"
            "「client.example」「cleint.example」「partner.example」\r\n"
            "・はじめて送るドメインがあります。\r\n"
            "「cleint.example」（client.example に似ています）「partner.example」\r\n\r\n送信しますか？");
  BoxAnswerer answerer(kTitle, IDNO, "warning_box_recipients");
  EXPECT_FALSE(AskWarningBox(text, kTitle));
  EXPECT_TRUE(answerer.Join().found);
}

TEST(WarningBox, TextTitleAndAnswers) {
  // Trail bytes 0x5C (表) and half-width kana must survive the trip through the Unicode box.
  const std::string text =
      "■禁句パターン【表示】\r\n・以下の半角カナ文字が入っています。\r\n「ｶ」「ﾅ」\r\n"
      "\r\n送信しますか？";
  struct Case {
    int button;
    bool yes;
  };
  for (const Case c : {Case{IDYES, true}, Case{IDNO, false}}) {
    BoxAnswerer answerer(kTitle, c.button);
    EXPECT_EQ(AskWarningBox(text, kTitle), c.yes);
    const BoxSeen& seen = answerer.Join();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.title, kTitle);
    EXPECT_EQ(seen.text, text);
    EXPECT_FALSE(seen.owned);
    EXPECT_TRUE(seen.yesNoOnly);
  }
}

// A borderless window at (100, 100), 400 by 300, with an editor child `gap` pixels short of its
// bottom edge.
struct Composition {
  explicit Composition(int gap)
      : window(::CreateWindowExA(0, "STATIC", "", WS_POPUP, 100, 100, 400, 300, nullptr, nullptr,
                                 nullptr, nullptr)),
        editor(::CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 400, 300 - gap, window.get(),
                                 nullptr, nullptr, nullptr)) {}
  win::UniqueWindow window;
  HWND editor;  // borrowed: destroyed with its parent
};

TEST(AttachmentBelowEditor, Table) {
  struct Case {
    int gap;
    Attachment expected;
  };
  for (const Case c :
       {Case{0, Attachment::kAbsent}, Case{11, Attachment::kAbsent}, Case{12, Attachment::kPresent},
        Case{40, Attachment::kPresent}, Case{-20, Attachment::kAbsent}}) {
    Composition w(c.gap);
    ASSERT_TRUE(w.editor);
    EXPECT_EQ(AttachmentBelowEditor(w.window.get(), w.editor), c.expected) << c.gap;
  }
  Composition w(20);
  EXPECT_EQ(AttachmentBelowEditor(w.window.get(), nullptr), Attachment::kUnknown);
  ::DestroyWindow(w.editor);
  EXPECT_EQ(AttachmentBelowEditor(w.window.get(), w.editor), Attachment::kUnknown);
}

HWND g_editor = nullptr;
int g_editorCalls = 0;
HWND WINAPI FakeSendGetEditor(HWND) {
  ++g_editorCalls;
  return g_editor;
}

// The whole decision with the host's editor function: 添付 written, the gap decides.
TEST(CheckOutgoingMailWin32, AttachmentFromTheHostsEditor) {
  PatternTable table;
  table.Append({"添付確認", "", "False", "False", "False", "False", "False", "False", "True",
                "False", "", "False", ""});
  const std::string finding =
      "■禁句パターン【添付確認】\r\n・「添付」と書かれていますが、添付ファイルがありません。\r\n"
      "\r\n送信しますか？";
  HostTable withEditor;
  withEditor[HostFn::kSendGetEditor] = reinterpret_cast<void*>(&FakeSendGetEditor);
  const HostTable without;
  struct Case {
    const char* what;
    const HostTable* table;
    int gap;
    bool box;
  };
  const std::vector<Case> cases = {
      {"gap of 11", &withEditor, 11, true},
      {"gap of 12", &withEditor, 12, false},
      {"no editor function", &without, 12, true},
  };
  for (const auto& c : cases) {
    Composition w(c.gap);
    g_editor = w.editor;
    g_editorCalls = 0;
    BoxAnswerer answerer(kTitle, IDNO);
    const bool sent = CheckOutgoingMail(table, HostCalls(*c.table), w.window.get(), "Subject: 資料",
                                        "添付します");
    const BoxSeen& seen = answerer.Join();
    EXPECT_EQ(seen.found, c.box) << c.what;
    EXPECT_EQ(sent, !c.box) << c.what;
    if (c.box) {
      EXPECT_EQ(seen.text, finding) << c.what;
    }
    EXPECT_EQ(g_editorCalls, c.table == &withEditor ? 1 : 0) << c.what;
  }
}

}  // namespace
}  // namespace zv::win
