#include "ui/confirm_form.h"

namespace zv::ui {

namespace {

using K = ControlKind;

constexpr ColumnDescription kConfirmColumns[] = {
    {.caption = "種類"},
    {.caption = "内容", .fill = true},
    {.caption = "ドメイン"},
};

// In docking order. The list fills what the message above and the buttons below leave; the
// buttons keep to the right edge.
constexpr ControlDescription kConfirmControls[] = {
    {.name = "MessagePanel", .kind = K::kPanel, .bounds = {0, 0, 752, 28}, .align = alTop},
    {.name = "MessageLabel",
     .kind = K::kLabel,
     .parent = "MessagePanel",
     .caption = "すべての項目にチェックを入れると［送信］を押せます。",
     .bounds = {8, 9, 0, 12},
     .options = kAutoSize},
    {.name = "ButtonPanel",
     .kind = K::kPanel,
     .bounds = {0, 333, 752, 40},
     .align = alBottom,
     .tabOrder = 1},
    {.name = "RightButtonPanel",
     .kind = K::kPanel,
     .parent = "ButtonPanel",
     .bounds = {582, 0, 170, 40},
     .align = alRight,
     .tabOrder = 0},
    {.name = "SendButton",
     .kind = K::kButton,
     .parent = "RightButtonPanel",
     .caption = "送信",
     .bounds = {4, 8, 75, 25},
     .tabOrder = 0,
     .options = kDisabled,
     .modalResult = kModalOk,
     .onClick = "SendButtonClick"},
    {.name = "CancelButton",
     .kind = K::kButton,
     .parent = "RightButtonPanel",
     .caption = "キャンセル",
     .bounds = {86, 8, 75, 25},
     .tabOrder = 1,
     .options = kDefault | kCancel,
     .modalResult = kModalCancel},
    {.name = "ConfirmListView",
     .kind = K::kListView,
     .bounds = {0, 28, 752, 305},
     .align = alClient,
     .tabOrder = 0,
     .columns = kConfirmColumns,
     .onChange = "ConfirmListViewChange"},
};

}  // namespace

const FormDescription kConfirmFormDescription = {
    .name = "ConfirmForm",
    .className = "TConfirmForm",
    .caption = "Zorvek32 - 送信前の確認",
    .clientSize = Size{752, 373},
    .borderStyle = BorderStyle::bsSizeable,
    .borderIcons = kBiSystemMenu | kBiMaximize,
    .font = kFormFont,
    .controls = kConfirmControls,
};

ConfirmModel::ConfirmModel(std::span<const ConfirmRow> rows) {
  ticked_.reserve(rows.size());
  for (const ConfirmRow& row : rows) {
    ticked_.push_back(row.ticked);
    if (!row.ticked) ++unticked_;
  }
}

void ConfirmModel::SetTicked(size_t row, bool on) {
  if (row >= ticked_.size() || ticked_[row] == on) return;
  ticked_[row] = on;
  if (on) {
    --unticked_;
  } else {
    ++unticked_;
  }
}

bool ConfirmModel::Send() {
  if (CanSend()) sent_ = true;
  return sent_;
}

}  // namespace zv::ui
