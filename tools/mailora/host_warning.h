// The user at the substitute host's screen: watches for the plug-in's warning box from a second
// thread, reads it and presses one of its buttons, so that sends run unattended; and the
// attachment strip below the body editor.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "host_window.h"

namespace mailora {

inline constexpr char kWarningTitle[] = "Zorvek32 からの警告";

struct WarningSeen {
  bool shown = false;
  std::string text;        // the box's message, as GetWindowTextA gives it
  bool owned = true;       // the box has an owner window
  bool yesNoOnly = false;  // it has Yes and No and no other button
  bool captured = false;   // the picture was saved
};

class WarningAnswerer {
 public:
  // Starts watching (for up to 30 seconds) and answers with `button`, IDYES or IDNO. With a
  // `bitmapPath`, first saves a picture of the box there as a BMP file.
  explicit WarningAnswerer(int button, std::string bitmapPath = {});
  ~WarningAnswerer() { Finish(); }
  WarningAnswerer(const WarningAnswerer&) = delete;
  WarningAnswerer& operator=(const WarningAnswerer&) = delete;

  // Call once the send has returned: a box would have held it up, so none can come any more.
  const WarningSeen& Finish();

 private:
  void Watch(int button, const std::string& bitmapPath);

  WarningSeen seen_;
  std::atomic<bool> stop_ = false;
  std::thread thread_;
};

// Reads the warning box `box` into `seen` (saving a picture first with a `bitmapPath`) and
// presses `button`.
void AnswerWarning(HWND box, int button, const std::string& bitmapPath, WarningSeen& seen);

// Sizes the composition window's body editor so that its bottom edge lies `gap` pixels above the
// window's own, the strip where the host lists a mail's attachments.
void PlaceEditor(const CompositionWindow& w, int gap);

// Saves what the screen shows of window `w` (borrowed) as a 24-bit BMP file.
bool SaveWindowPicture(HWND w, const std::string& path);

}  // namespace mailora
