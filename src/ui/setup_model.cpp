#include "ui/setup_model.h"

#include <algorithm>

#include "text/lines.h"

namespace zv::ui {

namespace {

constexpr std::array<std::string_view, kSetupControlCount> kControlNames = {
    "AddressLabel",         "AddressMemo", "AddressOnRadio",      "AddressOffRadio",
    "AlwaysCheck",          "KanaCheck",   "ZenkakuTextCheck",    "ZenkakuSubjectCheck",
    "BlankSubjectCheck",    "AttachCheck", "ZorvekCheck",         "ZorvekMemo",
    "HissukuCheck",         "HissukuMemo", "PatternRenameButton", "PatternDeleteButton",
    "AssociateNotavoCheck", "HeaderCheck", "IgnoreQuotedLinesCheck", "IncludeCcBccCheck",
    "InternalDomainsMemo",  "ManyRecipientsEdit", "ManyDomainsEdit",  "NewDomainsCheck",
    "KnownDomainsMemo",     "ConfirmCheck",       "ConfirmInternalCheck",
};

// What a newly added pattern holds in each field but its name: only AddressOn is set. The
// forbidden-word and required-word checks start off here, although a pattern loaded without
// those keys has them on.
std::string_view NewPatternValue(PatternField f) {
  switch (f) {
    case PatternField::kAddressOn:
      return kTrue;
    case PatternField::kAddress:
    case PatternField::kZorvek:
    case PatternField::kHissu:
      return {};
    default:
      return kFalse;
  }
}

// A threshold as its edit shows it: a value the edit cannot hold shows as 0, which is what it
// counts as.
std::string ThresholdText(int32_t value) {
  return std::to_string(value >= 0 && value <= kMaxRecipientThreshold ? value : 0);
}

// The number the user typed: its leading digits (a paste may bring anything), 0 for none.
int32_t ThresholdOf(std::string_view text) {
  int32_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min(value * 10 + (c - '0'), kMaxRecipientThreshold);
  }
  return value;
}

template <size_t N>
const SetupFieldControl* FindField(const std::array<SetupFieldControl, N>& table, SetupControl c) {
  for (const auto& entry : table) {
    if (entry.control == c) return &entry;
  }
  return nullptr;
}

}  // namespace

std::string_view SetupControlName(SetupControl c) {
  return kControlNames[static_cast<size_t>(c)];
}

bool SetupModel::Selected(size_t& index) const {
  const int i = view_.ItemIndex();
  if (i < 0 || static_cast<size_t>(i) >= WorkingCount()) return false;
  index = static_cast<size_t>(i);
  return true;
}

void SetupModel::Store(PatternField field, std::string value) {
  size_t i = 0;
  if (Selected(i)) working_[Slot(field)][i] = std::move(value);
}

int SetupModel::ReadSize(std::string_view key, int designed) {
  // A negative size can only come from a file edited by hand; the designed size serves then.
  const int stored = services_.ReadInt(key, designed);
  return stored < 0 ? designed : stored;
}

void SetupModel::FormCreate() {
  for (auto& list : working_) list.clear();
  services_.LoadPlacement();

  view_.SetExtent(SetupExtent::kPatternPanelWidth,
                  ReadSize(kPatternPanelWidthKey, view_.Extent(SetupExtent::kPatternPanelWidth)));
  const int memo = ReadSize(kAddressMemoHeightKey, view_.Extent(SetupExtent::kAddressMemoHeight));
  view_.SetExtent(SetupExtent::kPanel1Height,
                  memo + view_.Extent(SetupExtent::kAddressOnRadioHeight) +
                      view_.Extent(SetupExtent::kAddressOffRadioHeight));
  view_.SetExtent(SetupExtent::kZorvekPanelHeight,
                  ReadSize(kZorvekPanelHeightKey, view_.Extent(SetupExtent::kZorvekPanelHeight)));
  designedInternalHeight_ = view_.Extent(SetupExtent::kInternalDomainsPanelHeight);
  view_.SetExtent(SetupExtent::kInternalDomainsPanelHeight,
                  ReadSize(kInternalDomainsPanelHeightKey, designedInternalHeight_));
  // No page exists for any other index: the first page opens.
  const int page = services_.ReadInt(kPageKey, 0);
  view_.SetActivePage(page >= 0 && page < view_.PageCount() ? page : 0);
}

void SetupModel::FormShow() {
  view_.ClearItems();
  for (auto& list : working_) list.clear();

  const PatternTable& table = settings_.table;
  for (auto& list : working_) list.reserve(table.size());
  for (size_t i = 0; i < table.size(); ++i) {
    for (size_t f = 1; f < kPatternFieldCount; ++f) {
      working_[f - 1].push_back(table.Get(i, static_cast<PatternField>(f)));
    }
    view_.AddItem(table.Get(i, PatternField::kName));
  }

  view_.SetChecked(SetupControl::kAssociateNotavoCheck, settings_.associateOption);
  view_.SetChecked(SetupControl::kHeaderCheck, settings_.headerOption);
  view_.SetChecked(SetupControl::kIgnoreQuotedLinesCheck, settings_.ignoreQuotedLines);
  view_.SetChecked(SetupControl::kIncludeCcBccCheck, settings_.includeCcBcc);
  const RecipientSettings& r = settings_.recipients;
  view_.SetText(SetupControl::kInternalDomainsMemo, r.internalDomains);
  view_.SetText(SetupControl::kKnownDomainsMemo, r.knownDomains);
  for (Threshold& t : thresholds_) ShowThreshold(t);
  view_.SetChecked(SetupControl::kNewDomainsCheck, r.newDomains);
  view_.SetChecked(SetupControl::kConfirmCheck, r.confirm);
  view_.SetChecked(SetupControl::kConfirmInternalCheck, r.confirmInternal);
  ConfirmCheckClick();

  EnablePanel(SetupArea::kDetailPanel, false);
  view_.SetEnabled(SetupControl::kPatternRenameButton, false);
  view_.SetEnabled(SetupControl::kPatternDeleteButton, false);
  view_.SetItemIndex(-1);
  PatternListBoxClick();
}

void SetupModel::PatternListBoxClick() {
  size_t i = 0;
  const bool selected = Selected(i);
  auto field = [&](PatternField f) -> std::string_view {
    return selected ? std::string_view(working_[Slot(f)][i]) : std::string_view();
  };

  view_.SetText(SetupControl::kAddressMemo, field(PatternField::kAddress));
  const bool addressOn = !selected || IsFlagOn(field(PatternField::kAddressOn));
  view_.SetChecked(addressOn ? SetupControl::kAddressOnRadio : SetupControl::kAddressOffRadio,
                   true);
  for (const auto& check : kSetupChecks) {
    view_.SetChecked(check.control, IsFlagOn(field(check.field)));
  }
  view_.SetText(SetupControl::kZorvekMemo, field(PatternField::kZorvek));
  view_.SetText(SetupControl::kHissukuMemo, field(PatternField::kHissu));

  EnablePanel(SetupArea::kDetailPanel, selected);
  view_.SetEnabled(SetupControl::kPatternRenameButton, selected);
  view_.SetEnabled(SetupControl::kPatternDeleteButton, selected);
}

void SetupModel::EnablePanel(SetupArea area, bool on) {
  switch (area) {
    case SetupArea::kDetailPanel:
      for (SetupControl c :
           {SetupControl::kAddressLabel, SetupControl::kAddressMemo, SetupControl::kAddressOnRadio,
            SetupControl::kAddressOffRadio, SetupControl::kAlwaysCheck}) {
        view_.SetEnabled(c, on);
      }
      EnablePanel(SetupArea::kAlwaysPanel, on && !view_.Checked(SetupControl::kAlwaysCheck));
      break;
    case SetupArea::kAlwaysPanel:
      for (SetupControl c : {SetupControl::kKanaCheck, SetupControl::kZenkakuTextCheck,
                             SetupControl::kZenkakuSubjectCheck, SetupControl::kBlankSubjectCheck,
                             SetupControl::kAttachCheck}) {
        view_.SetEnabled(c, on);
      }
      EnablePanel(SetupArea::kZorvekPanel, on);
      EnablePanel(SetupArea::kHissukuPanel, on);
      break;
    case SetupArea::kZorvekPanel:
      view_.SetEnabled(SetupControl::kZorvekCheck, on);
      view_.SetEnabled(SetupControl::kZorvekMemo, on && view_.Checked(SetupControl::kZorvekCheck));
      break;
    case SetupArea::kHissukuPanel:
      view_.SetEnabled(SetupControl::kHissukuCheck, on);
      view_.SetEnabled(SetupControl::kHissukuMemo,
                       on && view_.Checked(SetupControl::kHissukuCheck));
      break;
    case SetupArea::kOther:
      break;
  }
}

void SetupModel::MemoChange(SetupControl memo) {
  if (const auto* entry = FindField(kSetupMemos, memo)) Store(entry->field, view_.Text(memo));
}

void SetupModel::AddressRadioClick() {
  Store(PatternField::kAddressOn,
        std::string(FlagText(view_.Checked(SetupControl::kAddressOnRadio))));
}

void SetupModel::CheckClick(SetupControl box) {
  size_t i = 0;
  const auto* entry = FindField(kSetupChecks, box);
  if (!entry || !Selected(i)) return;
  const bool on = view_.Checked(box);
  working_[Slot(entry->field)][i] = FlagText(on);
  switch (box) {
    case SetupControl::kAlwaysCheck:
      EnablePanel(SetupArea::kAlwaysPanel, !on);
      break;
    case SetupControl::kZorvekCheck:
      view_.SetEnabled(SetupControl::kZorvekMemo, on);
      break;
    case SetupControl::kHissukuCheck:
      view_.SetEnabled(SetupControl::kHissukuMemo, on);
      break;
    default:
      break;
  }
}

void SetupModel::ConfirmCheckClick() {
  view_.SetEnabled(SetupControl::kConfirmInternalCheck,
                   view_.Checked(SetupControl::kConfirmCheck));
}

void SetupModel::PatternAddButtonClick() {
  std::string name(kNewPatternName);
  if (!services_.InputBox(kAddTitle, kAddPrompt, name)) return;
  for (size_t f = 1; f < kPatternFieldCount; ++f) {
    working_[f - 1].emplace_back(NewPatternValue(static_cast<PatternField>(f)));
  }
  view_.AddItem(name);
  view_.SetItemIndex(view_.ItemCount() - 1);
  PatternListBoxClick();
}

void SetupModel::PatternRenameButtonClick() {
  size_t i = 0;
  if (!Selected(i)) return;
  const int index = static_cast<int>(i);
  std::string name = view_.Item(index);
  if (!services_.InputBox(kRenameTitle, kRenamePrompt, name)) return;
  view_.SetItem(index, name);
}

void SetupModel::PatternDeleteButtonClick() {
  size_t i = 0;
  if (!Selected(i)) return;
  view_.DeleteItem(static_cast<int>(i));
  for (auto& list : working_) list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
  view_.SetItemIndex(-1);
  PatternListBoxClick();
}

void SetupModel::OKButtonClick() {
  PatternTable& table = settings_.table;
  table.Clear();
  const size_t count =
      std::min(static_cast<size_t>(std::max(view_.ItemCount(), 0)), WorkingCount());
  for (size_t i = 0; i < count; ++i) {
    PatternRow row;
    row[0] = view_.Item(static_cast<int>(i));
    for (size_t f = 1; f < kPatternFieldCount; ++f) row[f] = working_[f - 1][i];
    table.Append(std::move(row));
  }
  settings_.associateOption = view_.Checked(SetupControl::kAssociateNotavoCheck);
  settings_.headerOption = view_.Checked(SetupControl::kHeaderCheck);
  settings_.ignoreQuotedLines = view_.Checked(SetupControl::kIgnoreQuotedLinesCheck);
  settings_.includeCcBcc = view_.Checked(SetupControl::kIncludeCcBccCheck);
  RecipientSettings& r = settings_.recipients;
  r.internalDomains = view_.Text(SetupControl::kInternalDomainsMemo);
  r.knownDomains = view_.Text(SetupControl::kKnownDomainsMemo);
  for (const Threshold& t : thresholds_) StoreThreshold(t);
  r.newDomains = view_.Checked(SetupControl::kNewDomainsCheck);
  r.confirm = view_.Checked(SetupControl::kConfirmCheck);
  r.confirmInternal = view_.Checked(SetupControl::kConfirmInternalCheck);
  view_.Close();
}

void SetupModel::ShowThreshold(Threshold& t) {
  t.shown = ThresholdText(settings_.recipients.*t.value);
  view_.SetText(t.edit, t.shown);
}

void SetupModel::StoreThreshold(const Threshold& t) {
  const std::string text = view_.Text(t.edit);
  if (text != t.shown) settings_.recipients.*t.value = ThresholdOf(text);
}

void SetupModel::CancelButtonClick() {
  view_.Close();
}

void SetupModel::HelpButtonClick() {
  services_.Help();
}

void SetupModel::FormClose() {
  services_.WriteInt(kPatternPanelWidthKey, view_.Extent(SetupExtent::kPatternPanelWidth));
  services_.WriteInt(kAddressMemoHeightKey, view_.Extent(SetupExtent::kAddressMemoHeight));
  services_.WriteInt(kZorvekPanelHeightKey, view_.Extent(SetupExtent::kZorvekPanelHeight));
  services_.WriteInt(kPageKey, view_.ActivePage());
  const int internal = view_.Extent(SetupExtent::kInternalDomainsPanelHeight);
  if (internal != designedInternalHeight_ || services_.HasKey(kInternalDomainsPanelHeightKey)) {
    services_.WriteInt(kInternalDomainsPanelHeightKey, internal);
  }
  services_.SavePlacement();
}

void SetupModel::FormDestroy() {
  for (auto& list : working_) std::vector<std::string>().swap(list);
}

}  // namespace zv::ui
