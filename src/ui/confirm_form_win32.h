// TConfirmForm and ShowConfirmForm: the confirmation before sending, a modal window over the
// composition window whose 送信 button waits until every row is ticked.
#pragma once

#include <windows.h>

#include <span>

#include "ui/confirm_form.h"
#include "ui/forms_win32.h"

namespace zv::win {

class TConfirmForm final : public TForm {
 public:
  // Builds the hidden window over `owner` (borrowed; may be null) with the rows as given.
  TConfirmForm(HWND owner, std::span<const ui::ConfirmRow> rows);
  TListView& ListView() const { return *list_; }
  TButton& SendButton() const { return *send_; }

  // Shows the window modally, centred over the owner or where the user last left it; true
  // exactly when it was closed with 送信. Its size and place go into the settings store once
  // the user has moved or resized it, or when the store held them already; never to the file.
  bool Execute();

 private:
  void ListViewChange();
  void SendButtonClick();

  HWND owner_;  // borrowed
  ui::ConfirmModel model_;
  TListView* list_ = nullptr;
  TButton* send_ = nullptr;
};

// Asks to confirm the rows: true only when the user ticked every row and pressed 送信. Enter,
// Esc, キャンセル and the close box give false, as does any failure.
bool ShowConfirmForm(HWND owner, std::span<const ui::ConfirmRow> rows) noexcept;

}  // namespace zv::win
