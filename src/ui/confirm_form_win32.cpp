#include "ui/confirm_form_win32.h"

#include <stdexcept>
#include <string_view>

#include "ui/common_form_win32.h"
#include "ui/placement_win32.h"

namespace zv::win {

namespace {

// What the placement stores: the restored rectangle and the state.
struct Placed {
  std::optional<NormalRect> rect;
  WindowState state;
  friend bool operator==(const Placed&, const Placed&) = default;
};

Placed PlacedNow(TForm& form) {
  FormPlacement placement(form);
  return Placed{placement.Placement(), form.State()};
}

}  // namespace

TConfirmForm::TConfirmForm(HWND owner, std::span<const ui::ConfirmRow> rows)
    : TForm(ui::kConfirmFormDescription), owner_(owner), model_(rows) {
  Load({{"ConfirmListViewChange", [this] { ListViewChange(); }},
        {"SendButtonClick", [this] { SendButtonClick(); }}},
       owner);
  list_ = Find<TListView>("ConfirmListView");
  send_ = Find<TButton>("SendButton");
  if (!list_ || !send_) throw std::runtime_error("confirm form");
  SetIcon(LoadPluginIcon().get());
  list_->BeginUpdate();
  for (const ui::ConfirmRow& row : rows) {
    const std::string_view texts[] = {row.kind, row.content, row.domain};
    list_->Add(texts, row.ticked, row.alert);
  }
  list_->EndUpdate();
  list_->FitColumns();
  send_->SetEnabled(model_.CanSend());
}

void TConfirmForm::ListViewChange() {
  const int row = list_->ChangedRow();
  if (row < 0) return;
  model_.SetTicked(static_cast<size_t>(row), list_->Checked(row));
  send_->SetEnabled(model_.CanSend());
}

void TConfirmForm::SendButtonClick() {
  model_.Send();
}

bool TConfirmForm::Execute() {
  const bool stored = HasPlacement(ui::kConfirmSection);
  if (stored) {
    LoadPlacement(*this, ui::kConfirmSection);
  } else {
    CenterOnWindow(owner_);
  }
  const Placed shown = PlacedNow(*this);
  const bool sent = ShowModal() == ui::kModalOk && model_.Sent();
  if (stored || PlacedNow(*this) != shown) StorePlacement(*this, ui::kConfirmSection);
  return sent;
}

bool ShowConfirmForm(HWND owner, std::span<const ui::ConfirmRow> rows) noexcept {
  try {
    TConfirmForm form(owner, rows);
    return form.Execute();
  } catch (...) {
    return false;
  }
}

}  // namespace zv::win
