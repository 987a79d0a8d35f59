// The setup dialog's behaviour (module uSetup), free of windows: the working copy of the pattern
// table, what each event does to it and to the controls, and the layout keys of section
// "SetupForm". The window shell (setup_form_win32) forwards its events here and shows the
// controls through SetupView.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "check/pattern_table.h"

namespace zv::ui {

// The controls whose state the behaviour reads or sets.
enum class SetupControl {
  kAddressLabel,
  kAddressMemo,
  kAddressOnRadio,
  kAddressOffRadio,
  kAlwaysCheck,
  kKanaCheck,
  kZenkakuTextCheck,
  kZenkakuSubjectCheck,
  kBlankSubjectCheck,
  kAttachCheck,
  kZorvekCheck,
  kZorvekMemo,
  kHissukuCheck,
  kHissukuMemo,
  kPatternRenameButton,
  kPatternDeleteButton,
  kAssociateNotavoCheck,
  kHeaderCheck,
  kIgnoreQuotedLinesCheck,
  kIncludeCcBccCheck,
  kInternalDomainsMemo,
  kManyRecipientsEdit,
  kManyDomainsEdit,
  kNewDomainsCheck,
  kKnownDomainsMemo,
  kConfirmCheck,
  kConfirmInternalCheck,
};
inline constexpr size_t kSetupControlCount = 27;

// The control's name in the form description.
std::string_view SetupControlName(SetupControl c);

// The nested areas of the detail pane that EnablePanel knows; anything else is left alone.
enum class SetupArea { kDetailPanel, kAlwaysPanel, kZorvekPanel, kHissukuPanel, kOther };

// Sizes the layout keys keep or derive from.
enum class SetupExtent {
  kPatternPanelWidth,
  kPanel1Height,
  kAddressMemoHeight,
  kAddressOnRadioHeight,
  kAddressOffRadioHeight,
  kZorvekPanelHeight,
  kInternalDomainsPanelHeight,
};

// The eight pattern check boxes and the three memos, with the field each edits.
struct SetupFieldControl {
  SetupControl control;
  PatternField field;
};
inline constexpr std::array<SetupFieldControl, 8> kSetupChecks = {{
    {SetupControl::kAlwaysCheck, PatternField::kAlways},
    {SetupControl::kKanaCheck, PatternField::kKana},
    {SetupControl::kZenkakuTextCheck, PatternField::kZenkakuText},
    {SetupControl::kZenkakuSubjectCheck, PatternField::kZenkakuSubject},
    {SetupControl::kBlankSubjectCheck, PatternField::kBlankSubject},
    {SetupControl::kAttachCheck, PatternField::kAttachCheck},
    {SetupControl::kZorvekCheck, PatternField::kZorvekCheck},
    {SetupControl::kHissukuCheck, PatternField::kHissuCheck},
}};
inline constexpr std::array<SetupFieldControl, 3> kSetupMemos = {{
    {SetupControl::kAddressMemo, PatternField::kAddress},
    {SetupControl::kZorvekMemo, PatternField::kZorvek},
    {SetupControl::kHissukuMemo, PatternField::kHissu},
}};

// Section and keys of the dialog's layout.
inline constexpr std::string_view kSetupSection = "SetupForm";
inline constexpr std::string_view kPatternPanelWidthKey = "PatternPanelWidth";
inline constexpr std::string_view kAddressMemoHeightKey = "AddressMemoHeight";
inline constexpr std::string_view kZorvekPanelHeightKey = "ZorvekPanelHeight";
inline constexpr std::string_view kPageKey = "Page";
// Written only once the user has moved its splitter, or when the file already holds it.
inline constexpr std::string_view kInternalDomainsPanelHeightKey = "InternalDomainsPanelHeight";


// Texts of the input box for Add and Rename.
inline constexpr std::string_view kAddTitle = "禁句パターンの追加";
inline constexpr std::string_view kAddPrompt = "追加する禁句パターンのパターン名を決めてください。";
inline constexpr std::string_view kNewPatternName = "新しい禁句パターン";
inline constexpr std::string_view kRenameTitle = "禁句パターンの改名";
inline constexpr std::string_view kRenamePrompt = "禁句パターンのパターン名を決めてください。";

// The dialog's controls as the behaviour sees them. Changes made through this interface are the
// program's own and raise no events.
class SetupView {
 public:
  virtual ~SetupView() = default;

  // PatternListBox: unsorted, single selection; its items are the working copy's names.
  virtual int ItemCount() const = 0;
  virtual std::string Item(int index) const = 0;
  virtual void AddItem(std::string_view name) = 0;
  virtual void SetItem(int index, std::string_view name) = 0;  // keeps the selection
  virtual void DeleteItem(int index) = 0;
  virtual void ClearItems() = 0;
  virtual int ItemIndex() const = 0;  // -1: nothing selected
  virtual void SetItemIndex(int index) = 0;

  virtual std::string Text(SetupControl memo) const = 0;
  virtual void SetText(SetupControl memo, std::string_view text) = 0;
  virtual bool Checked(SetupControl box) const = 0;
  // Checking a radio button clears the other one.
  virtual void SetChecked(SetupControl box, bool on) = 0;
  virtual void SetEnabled(SetupControl control, bool on) = 0;

  virtual int Extent(SetupExtent e) const = 0;
  virtual void SetExtent(SetupExtent e, int pixels) = 0;
  virtual int PageCount() const = 0;
  virtual int ActivePage() const = 0;
  virtual void SetActivePage(int index) = 0;

  // Ends the modal showing; the shell then runs FormClose.
  virtual void Close() = 0;
};

// What the dialog needs from the rest of the plug-in.
class SetupServices {
 public:
  virtual ~SetupServices() = default;
  // The input box with the dialog's icon: true, and `text` replaced, when closed with OK.
  virtual bool InputBox(std::string_view title, std::string_view prompt, std::string& text) = 0;
  virtual void Help() = 0;
  // Integers of section "SetupForm"; `fallback` when absent or not a number.
  virtual int ReadInt(std::string_view key, int fallback) = 0;
  virtual void WriteInt(std::string_view key, int value) = 0;
  // Whether section "SetupForm" holds `key`.
  virtual bool HasKey(std::string_view key) = 0;
  // The window placement under "SetupForm"; saving also writes the settings file.
  virtual void LoadPlacement() = 0;
  virtual void SavePlacement() = 0;
};

// The handlers of the setup dialog over a working copy of `settings`.
class SetupModel {
 public:
  SetupModel(SetupView& view, SetupServices& services, PatternSettings& settings)
      : view_(view), services_(services), settings_(settings) {}

  void FormCreate();
  void FormShow();
  void FormClose();
  void FormDestroy();

  void PatternListBoxClick();
  void PatternAddButtonClick();
  void PatternRenameButtonClick();
  void PatternDeleteButtonClick();
  void MemoChange(SetupControl memo);
  void AddressRadioClick();
  void CheckClick(SetupControl box);
  // ConfirmInternalCheck means something only while ConfirmCheck is ticked.
  void ConfirmCheckClick();
  void OKButtonClick();
  void CancelButtonClick();
  void HelpButtonClick();

  void EnablePanel(SetupArea area, bool on);

  // The working copy: one entry per list box item in each of the twelve lists.
  size_t WorkingCount() const { return working_[0].size(); }
  const std::string& Working(size_t index, PatternField field) const {
    return working_[Slot(field)][index];
  }

 private:
  static size_t Slot(PatternField f) { return static_cast<size_t>(f) - 1; }
  // The selected pattern's index into the working copy; false when none is selected.
  bool Selected(size_t& index) const;
  void Store(PatternField field, std::string value);
  int ReadSize(std::string_view key, int designed);
  // A threshold's edit: what it showed at FormShow, and the value to keep while the user has
  // not changed it (a hand-written value beyond the edit's four digits stays as it was).
  struct Threshold {
    SetupControl edit;
    int32_t RecipientSettings::*value;
    std::string shown;
  };
  void ShowThreshold(Threshold& t);
  void StoreThreshold(const Threshold& t);

  SetupView& view_;
  SetupServices& services_;
  PatternSettings& settings_;
  // Every field but the name, which the list box item holds.
  std::array<std::vector<std::string>, kPatternFieldCount - 1> working_;
  int designedInternalHeight_ = 0;
  std::array<Threshold, 2> thresholds_{{
      {SetupControl::kManyRecipientsEdit, &RecipientSettings::manyRecipients, {}},
      {SetupControl::kManyDomainsEdit, &RecipientSettings::manyDomains, {}},
  }};
};

}  // namespace zv::ui
