// One send of the benchmark command's 10 MB mail through APCSendPost in the substitute host,
// with the 50 patterns of 1,000 words and every check on. Prints "NAME CPU_MS WALL_MS" (best
// of the repetitions) for the whole send, for one WM_GETTEXT of the body as the plug-in reads
// it (the host control's own cost, whoever reads it), and for the warning box alone, shown
// and answered the same way; the plug-in's own time is the send less the other two.
//
//   Mailora.exe [REPETITIONS]     (in bench-bin: the plug-in binds to the host by that name)      data folder: ZV_QUALITY_DATA, as for zv_bench
#include <cstdlib>
#include <string>

#include "mailora/host.h"
#include "mailora/host_warning.h"
#include "mailora/host_window.h"
#include "text/constants.h"
#include "quality_data.h"
#include "timing.h"

namespace {

std::wstring g_boxText, g_boxTitle;

// Answers every dialog box of this thread with Yes as soon as it is activated, and keeps the
// first one's text and title.
LRESULT CALLBACK AnswerYes(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_ACTIVATE) {
    const HWND box = reinterpret_cast<HWND>(wp);
    wchar_t cls[16] = {};
    ::GetClassNameW(box, cls, 16);
    if (std::wstring(cls) == L"#32770") {
      if (g_boxText.empty()) {
        std::wstring text(1 << 16, L'\0');
        text.resize(static_cast<size_t>(::GetDlgItemTextW(box, 0xFFFF, text.data(), 1 << 16)));
        std::wstring title(256, L'\0');
        title.resize(static_cast<size_t>(::GetWindowTextW(box, title.data(), 256)));
        g_boxText = text;
        g_boxTitle = title;
      }
      ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED),
                     reinterpret_cast<LPARAM>(::GetDlgItem(box, IDYES)));
    }
  }
  return ::CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::atoi(argv[1]) : 7;
  const zv::bench::Files& data = zv::bench::Data();
  const std::string plugins = mailora::ExeFolder() + "Plugins\\";
  ::CreateDirectoryA(plugins.c_str(), nullptr);
  if (!::CopyFileA(data.checkSettings.c_str(), (plugins + "Zorvek32.ini").c_str(), FALSE)) {
    std::printf("cannot install %s\n", data.checkSettings.c_str());
    return 1;
  }
  const std::string body = zv::bench::ReadFile(data.mail10);
  mailora::Plugin plugin;
  if (body.empty() || !plugin.loaded()) {
    std::printf("no benchmark data in %s, or no plug-in beside the program\n",
                data.folder.c_str());
    return 1;
  }
  const int32_t started = plugin.StartUp()("1.10");
  if (started != -1) {
    std::printf("APCStartUp = %d\n", started);
    return 1;
  }

  mailora::CompositionWindow w(body, std::string(zv::kNoSignature), false);
  mailora::PlaceEditor(w, 0);
  auto& script = mailora::Script();
  script.headers[w.hwnd()] = zv::bench::MailHeader();
  script.editors[w.hwnd()] = w.body();
  const HHOOK hook = ::SetWindowsHookExW(WH_CBT, AnswerYes, nullptr, ::GetCurrentThreadId());

  volatile size_t sink = 0;
  zv::bench::Print("gettext10", zv::bench::Best(repetitions, 1000, [&] {
                     const LRESULT length = ::SendMessageA(w.body(), WM_GETTEXTLENGTH, 0, 0);
                     std::string text(static_cast<size_t>(length) + 2, '\0');
                     sink = sink + static_cast<size_t>(::SendMessageA(
                                       w.body(), WM_GETTEXT, static_cast<WPARAM>(length + 1),
                                       reinterpret_cast<LPARAM>(text.data())));
                   }));
  zv::bench::Print("send10", zv::bench::Best(repetitions, 1000, [&] {
                     sink = sink + static_cast<size_t>(plugin.SendPost()(w.hwnd(), 0));
                     script.setHeaderCalls.clear();
                   }));
  if (g_boxText.empty()) {
    std::printf("no warning was shown\n");
    return 1;
  }
  zv::bench::Print("box", zv::bench::Best(repetitions, 1000, [&] {
                     sink = sink + static_cast<size_t>(::MessageBoxW(
                                       nullptr, g_boxText.c_str(), g_boxTitle.c_str(),
                                       MB_YESNO | MB_ICONWARNING));
                   }));
  ::UnhookWindowsHookEx(hook);
  plugin.CleanUp()();
  return 0;
}
