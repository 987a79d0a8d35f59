// TSetupForm: the setup dialog's window. Its controls come from kSetupFormDescription, its
// behaviour from SetupModel; this class is the view the behaviour works through and the
// services it calls on (input box, help, settings store, window placement).
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "check/pattern_table.h"
#include "ui/forms_win32.h"
#include "ui/setup_form.h"
#include "ui/setup_model.h"

namespace zv::win {

class TSetupForm final : public TForm, private ui::SetupView, private ui::SetupServices {
 public:
  // Builds the hidden dialog over `settings`, which must outlive it, and runs FormCreate.
  explicit TSetupForm(PatternSettings& settings);
  ~TSetupForm() override;

  // Shows the dialog modally; 2 however it was closed.
  int Execute();
  // Start-up enables the memo-pad check box once, from whether the program is installed.
  void EnableAssociateNotavoCheck(bool on);

 private:
  // SetupView
  int ItemCount() const override;
  std::string Item(int index) const override;
  void AddItem(std::string_view name) override;
  void SetItem(int index, std::string_view name) override;
  void DeleteItem(int index) override;
  void ClearItems() override;
  int ItemIndex() const override;
  void SetItemIndex(int index) override;
  std::string Text(ui::SetupControl memo) const override;
  void SetText(ui::SetupControl memo, std::string_view text) override;
  bool Checked(ui::SetupControl box) const override;
  void SetChecked(ui::SetupControl box, bool on) override;
  void SetEnabled(ui::SetupControl control, bool on) override;
  int Extent(ui::SetupExtent e) const override;
  void SetExtent(ui::SetupExtent e, int pixels) override;
  int PageCount() const override;
  int ActivePage() const override;
  void SetActivePage(int index) override;
  void Close() override;

  // SetupServices
  bool InputBox(std::string_view title, std::string_view prompt, std::string& text) override;
  void Help() override;
  int ReadInt(std::string_view key, int fallback) override;
  void WriteInt(std::string_view key, int value) override;
  bool HasKey(std::string_view key) override;
  void LoadPlacement() override;
  void SavePlacement() override;

  // Resolves the controls the behaviour uses; run once the form has built them.
  void BindControls();
  TControl& Control(ui::SetupControl c) const { return *controls_[static_cast<size_t>(c)]; }
  HandlerTable Handlers();

  ui::SetupModel model_;
  std::array<TControl*, ui::kSetupControlCount> controls_{};
  TListBox* list_ = nullptr;
  TPageControl* pages_ = nullptr;
  TControl* patternPanel_ = nullptr;
  TControl* panel1_ = nullptr;
  TControl* zorvekPanel_ = nullptr;
  TControl* internalDomainsPanel_ = nullptr;
};

// The one setup dialog of the process, alive from start-up to clean-up.
void CreateSetupDialog(PatternSettings& settings);
// Enables AssociateNotavoCheck exactly when `on`; the dialog never changes it itself.
void EnableAssociateNotavoCheck(bool on);
// Shows it modally and gives its modal result: 2, also when there is no dialog.
int ShowSetupDialog();
void DestroySetupDialog();
// The dialog, or null; for the tests that drive it.
TSetupForm* SetupDialog();

}  // namespace zv::win
