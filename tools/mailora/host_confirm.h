// The user at the substitute host's screen for the plug-in's confirmation window: watches for it
// from a second thread, reads its rows, ticks them and answers in one of the ways a user can. The
// same thread answers the warning box, should that come instead: the emulated 32-bit run does
// not bear two such threads at once.
#pragma once

#include <windows.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "host_warning.h"

namespace mailora {

enum class ConfirmAction {
  kTickAllAndSend,   // every row ticked with Space, then 送信
  kLeaveOneAndSend,  // every row but the first ticked, then 送信 (it stays disabled), then Esc
  kTickAllAndEnter,  // every row ticked, then Enter
  kTickAllAndEsc,
  kTickAllAndClose,  // the close box
};

struct ConfirmSeen {
  bool shown = false;
  HWND owner = nullptr;
  std::vector<std::string> rows;  // "[x] kind content domain", CP932, as the window shows them
  bool sendEnabledBefore = true;  // 送信 before any tick
  bool sendEnabledAfter = false;  // 送信 once the action's ticks are done
  RECT place{};                   // the window's rectangle when it showed
};

class ConfirmAnswerer {
 public:
  // Watches for up to 30 seconds; with `moveTo` set, first moves and sizes the window there. A
  // warning box is answered with `warningButton`.
  ConfirmAnswerer(ConfirmAction action, int warningButton, const RECT* moveTo = nullptr);
  ~ConfirmAnswerer() { Finish(); }
  ConfirmAnswerer(const ConfirmAnswerer&) = delete;
  ConfirmAnswerer& operator=(const ConfirmAnswerer&) = delete;

  // Call once the send has returned.
  void Finish();
  const ConfirmSeen& confirm() const { return seen_; }
  const WarningSeen& warning() const { return warning_; }

 private:
  void Watch();

  const ConfirmAction action_;
  const int warningButton_;
  const std::optional<RECT> moveTo_;
  ConfirmSeen seen_;
  WarningSeen warning_;
  std::atomic<bool> stop_ = false;
  std::thread thread_;
};

}  // namespace mailora
