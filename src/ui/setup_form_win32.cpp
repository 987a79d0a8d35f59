#include "ui/setup_form_win32.h"

#include <memory>
#include <stdexcept>

#include "settings/ini_file.h"
#include "ui/placement_win32.h"
#include "ui/common_form_win32.h"
#include "ui/help_win32.h"
#include "ui/input_form_win32.h"

namespace zv::win {

namespace {

// The hourglass for the scope; the cursor that was showing comes back after it.
class WaitCursor {
 public:
  WaitCursor() : previous_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { ::SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;  // borrowed: shared system cursors are never destroyed
};

}  // namespace

TSetupForm::TSetupForm(PatternSettings& settings)
    : TForm(ui::kSetupFormDescription), model_(*this, *this, settings) {
  Load(Handlers());
  // The shared handlers need to know which control raised them.
  for (const auto& memo : ui::kSetupMemos) {
    Control(memo.control).OnChange = [this, c = memo.control](TControl&) { model_.MemoChange(c); };
  }
  for (const auto& check : ui::kSetupChecks) {
    Control(check.control).OnClick = [this, c = check.control](TControl&) { model_.CheckClick(c); };
  }
  TCommonForm common;
  SetIcon(common.PluginIcon());
}

TSetupForm::~TSetupForm() {
  // The form's own destructor would run it after the behaviour is gone.
  OnDestroy = nullptr;
  WaitCursor wait;
  model_.FormDestroy();
}

HandlerTable TSetupForm::Handlers() {
  auto none = [] {};
  return {
      {"FormCreate",
       [this] {
         BindControls();
         model_.FormCreate();
       }},
      {"FormShow", [this] { model_.FormShow(); }},
      {"FormClose",
       [this] {
         WaitCursor wait;
         model_.FormClose();
       }},
      {"FormDestroy", none},
      {"PatternListBoxClick", [this] { model_.PatternListBoxClick(); }},
      {"PatternAddButtonClick", [this] { model_.PatternAddButtonClick(); }},
      {"PatternRenameButtonClick", [this] { model_.PatternRenameButtonClick(); }},
      {"PatternDeleteButtonClick", [this] { model_.PatternDeleteButtonClick(); }},
      {"MemoChange", none},
      {"AddressRadioClick", [this] { model_.AddressRadioClick(); }},
      {"CheckClick", none},
      {"ConfirmCheckClick", [this] { model_.ConfirmCheckClick(); }},
      {"OKButtonClick", [this] { model_.OKButtonClick(); }},
      {"CancelButtonClick", [this] { model_.CancelButtonClick(); }},
      {"HelpButtonClick", [this] { model_.HelpButtonClick(); }},
  };
}

void TSetupForm::BindControls() {
  for (size_t i = 0; i < ui::kSetupControlCount; ++i) {
    controls_[i] = FindControl(ui::SetupControlName(static_cast<ui::SetupControl>(i)));
    if (!controls_[i]) throw std::runtime_error("setup form: control missing");
  }
  list_ = Find<TListBox>("PatternListBox");
  pages_ = Find<TPageControl>("SetupPageControl");
  patternPanel_ = FindControl("PatternPanel");
  panel1_ = FindControl("Panel1");
  zorvekPanel_ = FindControl("ZorvekPanel");
  internalDomainsPanel_ = FindControl("InternalDomainsPanel");
  if (!list_ || !pages_ || !patternPanel_ || !panel1_ || !zorvekPanel_ ||
      !internalDomainsPanel_) {
    throw std::runtime_error("setup form: control missing");
  }
}

int TSetupForm::Execute() {
  return ShowModal();
}

void TSetupForm::EnableAssociateNotavoCheck(bool on) {
  Control(ui::SetupControl::kAssociateNotavoCheck).SetEnabled(on);
}

// ---- SetupView

int TSetupForm::ItemCount() const {
  return list_->Count();
}
std::string TSetupForm::Item(int index) const {
  return list_->Item(index);
}
void TSetupForm::AddItem(std::string_view name) {
  list_->Add(name);
}
void TSetupForm::SetItem(int index, std::string_view name) {
  list_->SetItem(index, name);
}
void TSetupForm::DeleteItem(int index) {
  list_->Delete(index);
}
void TSetupForm::ClearItems() {
  list_->Clear();
}
int TSetupForm::ItemIndex() const {
  return list_->ItemIndex();
}
void TSetupForm::SetItemIndex(int index) {
  list_->SetItemIndex(index);
}

std::string TSetupForm::Text(ui::SetupControl memo) const {
  const auto* edit = dynamic_cast<const TEdit*>(&Control(memo));
  return edit ? edit->Text() : std::string();
}

void TSetupForm::SetText(ui::SetupControl memo, std::string_view text) {
  if (auto* edit = dynamic_cast<TEdit*>(&Control(memo))) edit->SetText(text);
}

bool TSetupForm::Checked(ui::SetupControl box) const {
  if (const auto* check = dynamic_cast<const TCheckBox*>(&Control(box))) return check->Checked();
  if (const auto* radio = dynamic_cast<const TRadioButton*>(&Control(box))) return radio->Checked();
  return false;
}

void TSetupForm::SetChecked(ui::SetupControl box, bool on) {
  if (auto* check = dynamic_cast<TCheckBox*>(&Control(box))) check->SetChecked(on);
  if (auto* radio = dynamic_cast<TRadioButton*>(&Control(box))) radio->SetChecked(on);
}

void TSetupForm::SetEnabled(ui::SetupControl control, bool on) {
  Control(control).SetEnabled(on);
}

int TSetupForm::Extent(ui::SetupExtent e) const {
  switch (e) {
    case ui::SetupExtent::kPatternPanelWidth:
      return patternPanel_->Bounds().width;
    case ui::SetupExtent::kPanel1Height:
      return panel1_->Bounds().height;
    case ui::SetupExtent::kAddressMemoHeight:
      return Control(ui::SetupControl::kAddressMemo).Bounds().height;
    case ui::SetupExtent::kAddressOnRadioHeight:
      return Control(ui::SetupControl::kAddressOnRadio).Bounds().height;
    case ui::SetupExtent::kAddressOffRadioHeight:
      return Control(ui::SetupControl::kAddressOffRadio).Bounds().height;
    case ui::SetupExtent::kZorvekPanelHeight:
      return zorvekPanel_->Bounds().height;
    case ui::SetupExtent::kInternalDomainsPanelHeight:
      return internalDomainsPanel_->Bounds().height;
  }
  return 0;
}

void TSetupForm::SetExtent(ui::SetupExtent e, int pixels) {
  switch (e) {
    case ui::SetupExtent::kPatternPanelWidth:
      patternPanel_->SetWidth(pixels);
      break;
    case ui::SetupExtent::kPanel1Height:
      panel1_->SetHeight(pixels);
      break;
    case ui::SetupExtent::kZorvekPanelHeight:
      zorvekPanel_->SetHeight(pixels);
      break;
    case ui::SetupExtent::kInternalDomainsPanelHeight:
      internalDomainsPanel_->SetHeight(pixels);
      break;
    default:
      break;  // the others follow from docking
  }
}

int TSetupForm::PageCount() const {
  return pages_->PageCount();
}
int TSetupForm::ActivePage() const {
  return pages_->ActivePageIndex();
}
void TSetupForm::SetActivePage(int index) {
  pages_->SetActivePageIndex(index);
}

void TSetupForm::Close() {
  TForm::Close();
}

// ---- SetupServices

bool TSetupForm::InputBox(std::string_view title, std::string_view prompt, std::string& text) {
  return ShowInputBox(Icon(), prompt, text, title);
}

void TSetupForm::Help() {
  ShowHelp(Handle());
}

int TSetupForm::ReadInt(std::string_view key, int fallback) {
  return IniRead(ui::kSetupSection, key, Variant::Int32(fallback)).ToInt32(fallback);
}

void TSetupForm::WriteInt(std::string_view key, int value) {
  IniWrite(ui::kSetupSection, key, Variant::Int32(value));
}

bool TSetupForm::HasKey(std::string_view key) {
  const IniStore* store = ActiveIniStore();
  return store && store->Has(ui::kSetupSection, key);
}

void TSetupForm::LoadPlacement() {
  zv::win::LoadPlacement(*this, ui::kSetupSection);
}

// A file that cannot be written leaves the old one; the dialog closes all the same.
void TSetupForm::SavePlacement() {
  zv::win::SavePlacement(*this, ui::kSetupSection);
}

namespace {

// Never destroyed at unload: a dialog that clean-up did not release stays with the process
// rather than being destroyed under the loader lock.
std::unique_ptr<TSetupForm>& Instance() {
  static auto* const instance = new std::unique_ptr<TSetupForm>();
  return *instance;
}

}  // namespace

void CreateSetupDialog(PatternSettings& settings) {
  Instance().reset();
  Instance() = std::make_unique<TSetupForm>(settings);
}

void EnableAssociateNotavoCheck(bool on) {
  if (Instance()) Instance()->EnableAssociateNotavoCheck(on);
}

int ShowSetupDialog() {
  return Instance() ? Instance()->Execute() : ui::kModalCancel;
}

void DestroySetupDialog() {
  Instance().reset();
}

TSetupForm* SetupDialog() {
  return Instance().get();
}

}  // namespace zv::win
