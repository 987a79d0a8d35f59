#include "host_confirm.h"

#include <commctrl.h>

#include "win/cp932_win32.h"

namespace mailora {

namespace {

struct ChildSearch {
  const wchar_t* cls;
  const wchar_t* text;  // null: any
  HWND found;
};

BOOL CALLBACK MatchChild(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<ChildSearch*>(p);
  wchar_t cls[64] = {}, text[64] = {};
  ::GetClassNameW(w, cls, 64);
  ::GetWindowTextW(w, text, 64);
  if (_wcsicmp(cls, s->cls) == 0 && (!s->text || wcscmp(text, s->text) == 0)) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

HWND FindChild(HWND parent, const wchar_t* cls, const wchar_t* text) {
  ChildSearch s{cls, text, nullptr};
  ::EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::string CellText(HWND list, int row, int column) {
  wchar_t text[512] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 512;
  ::SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return zv::win::WideToCp932(text);
}

bool Ticked(HWND list, int row) {
  return ((::SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) &
           LVIS_STATEIMAGEMASK) >>
          12) == 2;
}

// Lets the window's thread handle what it is busy with. Posted input may still wait behind a
// sent message, so whoever needs its effect waits for that effect (Until).
void Settle(HWND w) {
  ::SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, 2000, nullptr);
}

// Waits up to five seconds for `done`.
template <typename Done>
bool Until(Done done) {
  for (int i = 0; i < 250; ++i) {
    if (done()) return true;
    ::Sleep(20);
  }
  return done();
}

void Key(HWND w, WPARAM key) {
  ::PostMessageW(w, WM_KEYDOWN, key, 1);
  ::PostMessageW(w, WM_KEYUP, key, 0xC0000001);
  Settle(w);
}

}  // namespace

ConfirmAnswerer::ConfirmAnswerer(ConfirmAction action, int warningButton, const RECT* moveTo)
    : action_(action),
      warningButton_(warningButton),
      moveTo_(moveTo ? std::optional<RECT>(*moveTo) : std::nullopt),
      thread_([this] { Watch(); }) {}

void ConfirmAnswerer::Finish() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

void ConfirmAnswerer::Watch() {
  HWND form = nullptr;
  for (int i = 0; i < 1500 && !stop_; ++i) {
    if (HWND box = ::FindWindowA("#32770", kWarningTitle)) {
      AnswerWarning(box, warningButton_, {}, warning_);
      return;
    }
    form = ::FindWindowW(L"TConfirmForm", nullptr);
    if (form && ::IsWindowVisible(form)) break;
    form = nullptr;
    ::Sleep(20);
  }
  if (!form) return;
  Settle(form);
  seen_.shown = true;
  seen_.owner = ::GetWindow(form, GW_OWNER);
  ::GetWindowRect(form, &seen_.place);
  HWND list = FindChild(form, WC_LISTVIEWW, nullptr);
  HWND send = FindChild(form, L"Button", zv::win::Cp932ToWide("送信").c_str());
  if (!list || !send) {
    ::PostMessageW(form, WM_CLOSE, 0, 0);
    return;
  }
  const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  seen_.sendEnabledBefore = ::IsWindowEnabled(send) != FALSE;
  for (int row = 0; row < count; ++row) {
    std::string line = Ticked(list, row) ? "[x]" : "[ ]";
    for (int column = 0; column < 3; ++column) {
      const std::string cell = CellText(list, row, column);
      if (!cell.empty()) line += " " + cell;
    }
    seen_.rows.push_back(line);
  }
  if (moveTo_) {
    const RECT& to = *moveTo_;
    ::SetWindowPos(form, nullptr, to.left, to.top, to.right - to.left, to.bottom - to.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    Settle(form);
  }
  const int first = action_ == ConfirmAction::kLeaveOneAndSend ? 1 : 0;
  for (int row = first; row < count; ++row) {
    if (Ticked(list, row)) continue;
    LVITEMW item{};
    item.state = item.stateMask = LVIS_FOCUSED;
    ::SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    Key(list, VK_SPACE);
    Until([&] { return Ticked(list, row); });
  }
  // 送信 follows the last tick; with a row left unticked there is nothing to wait for.
  if (first == 0) Until([&] { return ::IsWindowEnabled(send) != FALSE; });
  seen_.sendEnabledAfter = ::IsWindowEnabled(send) != FALSE;
  switch (action_) {
    case ConfirmAction::kTickAllAndSend:
    case ConfirmAction::kLeaveOneAndSend:
      // A click on a disabled button does nothing, as with the mouse.
      if (::IsWindowEnabled(send)) ::PostMessageW(send, BM_CLICK, 0, 0);
      Settle(form);
      if (action_ == ConfirmAction::kLeaveOneAndSend) Key(list, VK_ESCAPE);
      break;
    case ConfirmAction::kTickAllAndEnter:
      Key(list, VK_RETURN);
      break;
    case ConfirmAction::kTickAllAndEsc:
      Key(list, VK_ESCAPE);
      break;
    case ConfirmAction::kTickAllAndClose:
      ::PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
  }
}

}  // namespace mailora
