// The confirmation before sending (form ConfirmForm): one list of rows, each to be ticked
// before 送信 can be pressed. It knows nothing of mails: it takes rows and gives an answer. The
// window shell is confirm_form_win32.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/form_description.h"

namespace zv::ui {

extern const FormDescription kConfirmFormDescription;

// Where the window keeps its size and place in the settings.
inline constexpr std::string_view kConfirmSection = "ConfirmForm";

// One row of the list: its three columns (code page 932), whether it starts ticked, and
// whether it is drawn in red.
struct ConfirmRow {
  std::string kind;     // 種類
  std::string content;  // 内容
  std::string domain;   // ドメイン
  bool ticked = false;
  bool alert = false;
};

// The rows' ticks and the answer. 送信 may be pressed exactly while every row is ticked.
class ConfirmModel {
 public:
  explicit ConfirmModel(std::span<const ConfirmRow> rows);
  size_t Count() const { return ticked_.size(); }
  bool Ticked(size_t row) const { return row < ticked_.size() && ticked_[row]; }
  void SetTicked(size_t row, bool on);
  bool CanSend() const { return unticked_ == 0; }
  // 送信 pressed: the answer becomes "send" when it may be pressed; false otherwise.
  bool Send();
  bool Sent() const { return sent_; }

 private:
  std::vector<bool> ticked_;
  size_t unticked_ = 0;
  bool sent_ = false;
};

}  // namespace zv::ui
