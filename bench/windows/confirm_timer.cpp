// The confirmation before sending for a mail of 1,000 recipients beside the warning box that the
// same mail gives without it. The window's figure holds building its rows (two findings and
// the 1,000 recipients in 50 domains), showing it and its answer; the box's holds showing the
// mail's warning and its answer. A second thread answers each as soon as it is shown and has
// painted. Prints "NAME CPU_MS WALL_MS" (best of the repetitions) for both and their ratio.
//
//   zv_confirm_timer.exe [REPETITIONS]
#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "check/send_check.h"
#include "check/send_check_win32.h"
#include "timing.h"
#include "ui/confirm_form_win32.h"
#include "win/cp932_win32.h"

namespace {

constexpr int kRecipients = 1000;
constexpr int kDomains = 50;

struct Recipient {
  const char* kind;
  std::string name, address, domain;
};

std::vector<Recipient> MailRecipients() {
  std::vector<Recipient> list;
  const char* kinds[] = {"To", "Cc", "Bcc"};
  for (int i = 0; i < kRecipients; ++i) {
    const std::string number = std::to_string(10000 + i).substr(1);
    const std::string domain = "client" + std::to_string(i % kDomains) + ".example";
    list.push_back(
        {kinds[i % 3], "取引先" + number + " 様", "user" + number + "@" + domain, domain});
  }
  return list;
}

// The rows in the window's order: the findings, then the recipients grouped by domain in
// first-seen order.
std::vector<zv::ui::ConfirmRow> Rows(const std::vector<Recipient>& recipients) {
  std::vector<zv::ui::ConfirmRow> rows;
  rows.reserve(recipients.size() + 2);
  rows.push_back({"警告", "【社外宛】以下の禁句が入っています。 「社外秘」", "", false, true});
  rows.push_back({"警告",
                  "【宛先】はじめて送るドメインがあります。 「cliemt.example」（client.example "
                  "に似ています）",
                  "", false, true});
  for (int d = 0; d < kDomains; ++d) {
    for (size_t i = static_cast<size_t>(d); i < recipients.size(); i += kDomains) {
      const Recipient& r = recipients[i];
      rows.push_back({r.kind, r.name + " <" + r.address + ">", r.domain, false, true});
    }
  }
  return rows;
}

// The warning the same mail gives in the box.
constexpr char kWarning[] =
    "■禁句パターン【社外宛】\r\n・以下の禁句が入っています。\r\n「社外秘」\r\n\r\n"
    "■【宛先】\r\n・はじめて送るドメインがあります。\r\n「cliemt.example」（client.example "
    "に似ています）\r\n\r\n送信しますか？";

// Answers every visible window of class `cls` (and title) from a thread of its own, once it
// has painted, for as long as it lives.
class Answerer {
 public:
  Answerer(const wchar_t* cls, std::wstring title, void (*answer)(HWND))
      : thread_([this, cls, title = std::move(title), answer] {
          while (!stop_) {
            HWND w = ::FindWindowW(cls, title.empty() ? nullptr : title.c_str());
            if (!w || !::IsWindowVisible(w)) {
              ::Sleep(1);
              continue;
            }
            ::RedrawWindow(w, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            answer(w);
            while (!stop_ && ::IsWindow(w) && ::IsWindowVisible(w)) ::Sleep(1);
          }
        }) {}
  ~Answerer() {
    stop_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::atoi(argv[1]) : 7;
  const std::vector<Recipient> recipients = MailRecipients();
  // The composition window the confirmation is owned by.
  HWND composition =
      ::CreateWindowExW(0, L"STATIC", L"composition", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80,
                        800, 600, nullptr, nullptr, nullptr, nullptr);

  volatile size_t sink = 0;
  zv::bench::Figure window, box;
  {
    Answerer answerer(L"TConfirmForm", L"", [](HWND w) { ::PostMessageW(w, WM_CLOSE, 0, 0); });
    window = zv::bench::Best(repetitions, 1000, [&] {
      const std::vector<zv::ui::ConfirmRow> rows = Rows(recipients);
      sink = sink + zv::win::ShowConfirmForm(composition, rows) + rows.size();
    });
  }
  {
    Answerer answerer(L"#32770", zv::win::Cp932ToWide(zv::kWarningTitle), [](HWND w) {
      ::PostMessageW(w, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED),
                     reinterpret_cast<LPARAM>(::GetDlgItem(w, IDYES)));
    });
    box = zv::bench::Best(repetitions, 1000, [&] {
      sink = sink + zv::win::AskWarningBox(kWarning, zv::kWarningTitle);
    });
  }
  ::DestroyWindow(composition);
  zv::bench::Print("confirm1000", window);
  zv::bench::Print("box1000", box);
  zv::bench::Print("ratio", {window.cpuMs / box.cpuMs, window.wallMs / box.wallMs});
  return 0;
}
