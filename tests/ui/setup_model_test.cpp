#include "ui/setup_model.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <optional>

namespace zv::ui {
namespace {

using C = SetupControl;
using F = PatternField;

// Controls as plain state. With `echo` set, every change the program makes is reported back to
// the handlers as if the user had made it.
struct FakeView : SetupView {
  std::vector<std::string> items;
  int selected = -1;
  std::map<C, std::string> texts;
  std::map<C, bool> checked;
  std::map<C, bool> enabled;
  std::map<SetupExtent, int> extents = {
      {SetupExtent::kPatternPanelWidth, 97},     {SetupExtent::kPanel1Height, 97},
      {SetupExtent::kAddressMemoHeight, 63},     {SetupExtent::kAddressOnRadioHeight, 17},
      {SetupExtent::kAddressOffRadioHeight, 17}, {SetupExtent::kZorvekPanelHeight, 77},
      {SetupExtent::kInternalDomainsPanelHeight, 130},
  };
  int page = 0;
  int closes = 0;
  SetupModel* echo = nullptr;

  int ItemCount() const override { return static_cast<int>(items.size()); }
  std::string Item(int i) const override { return items.at(static_cast<size_t>(i)); }
  void AddItem(std::string_view name) override { items.emplace_back(name); }
  void SetItem(int i, std::string_view name) override { items.at(static_cast<size_t>(i)) = name; }
  void DeleteItem(int i) override {
    items.erase(items.begin() + i);
    if (selected == i) selected = -1;
  }
  void ClearItems() override {
    items.clear();
    selected = -1;
  }
  int ItemIndex() const override { return selected; }
  void SetItemIndex(int i) override { selected = i; }

  std::string Text(C c) const override {
    auto it = texts.find(c);
    return it == texts.end() ? std::string() : it->second;
  }
  void SetText(C c, std::string_view t) override {
    texts[c] = t;
    if (echo) echo->MemoChange(c);
  }
  bool Checked(C c) const override {
    auto it = checked.find(c);
    return it != checked.end() && it->second;
  }
  void SetChecked(C c, bool on) override {
    checked[c] = on;
    if (on && c == C::kAddressOnRadio) checked[C::kAddressOffRadio] = false;
    if (on && c == C::kAddressOffRadio) checked[C::kAddressOnRadio] = false;
    if (!echo) return;
    if (c == C::kAddressOnRadio || c == C::kAddressOffRadio) {
      echo->AddressRadioClick();
    } else {
      echo->CheckClick(c);
    }
  }
  void SetEnabled(C c, bool on) override { enabled[c] = on; }
  bool Enabled(C c) const {
    auto it = enabled.find(c);
    return it == enabled.end() || it->second;
  }

  int Extent(SetupExtent e) const override { return extents.at(e); }
  void SetExtent(SetupExtent e, int px) override {
    extents[e] = px;
    if (e == SetupExtent::kPanel1Height) extents[SetupExtent::kAddressMemoHeight] = px - 34;
  }
  int PageCount() const override { return 4; }
  int ActivePage() const override { return page; }
  void SetActivePage(int i) override { page = i; }
  void Close() override { ++closes; }

  // What a user does: the event follows the change.
  void Select(int i, SetupModel& m) {
    selected = i;
    m.PatternListBoxClick();
  }
  void Type(C memo, std::string text, SetupModel& m) {
    texts[memo] = std::move(text);
    m.MemoChange(memo);
  }
  void Click(C box, SetupModel& m) {
    if (box == C::kAddressOnRadio || box == C::kAddressOffRadio) {
      SetChecked(box, true);
      m.AddressRadioClick();
    } else {
      checked[box] = !Checked(box);
      m.CheckClick(box);
    }
  }
};

struct FakeServices : SetupServices {
  struct Asked {
    std::string title, prompt, text;
  };
  std::vector<Asked> asked;
  std::deque<std::optional<std::string>> answers;  // nullopt: cancelled
  std::map<std::string, int, std::less<>> ints;
  std::vector<std::string> log;

  bool InputBox(std::string_view title, std::string_view prompt, std::string& text) override {
    asked.push_back({std::string(title), std::string(prompt), text});
    std::optional<std::string> answer = answers.empty() ? std::nullopt : answers.front();
    if (!answers.empty()) answers.pop_front();
    if (!answer) return false;
    text = *answer;
    return true;
  }
  void Help() override { log.push_back("help"); }
  int ReadInt(std::string_view key, int fallback) override {
    auto it = ints.find(key);
    return it == ints.end() ? fallback : it->second;
  }
  void WriteInt(std::string_view key, int value) override {
    ints[std::string(key)] = value;
    log.push_back(std::string(key));
  }
  bool HasKey(std::string_view key) override { return ints.contains(key); }
  void LoadPlacement() override { log.push_back("load placement"); }
  void SavePlacement() override { log.push_back("save placement"); }
};

PatternRow Row(std::string name, std::map<F, std::string> values = {}) {
  PatternRow row;
  for (size_t f = 0; f < kPatternFieldCount; ++f) row[f] = "False";
  row[0] = std::move(name);
  row[static_cast<size_t>(F::kAddressOn)] = "True";
  for (F f : {F::kAddress, F::kZorvek, F::kHissu}) row[static_cast<size_t>(f)] = "";
  for (auto& [f, v] : values) row[static_cast<size_t>(f)] = v;
  return row;
}

struct Dialog {
  FakeView view;
  FakeServices services;
  PatternSettings settings;
  SetupModel model{view, services, settings};

  explicit Dialog(std::vector<PatternRow> rows = {}) {
    for (auto& r : rows) settings.table.Append(std::move(r));
    model.FormCreate();
    model.FormShow();
  }
  // The list box and the twelve lists always have the same count.
  void ExpectConsistent() const { EXPECT_EQ(model.WorkingCount(), view.items.size()); }
  std::vector<std::string> TableNames() const {
    std::vector<std::string> names;
    for (size_t i = 0; i < settings.table.size(); ++i)
      names.push_back(settings.table.Get(i, F::kName));
    return names;
  }
};

const std::vector<C> kDetailControls = {
    C::kAddressLabel,      C::kAddressMemo, C::kAddressOnRadio,      C::kAddressOffRadio,
    C::kAlwaysCheck,       C::kKanaCheck,   C::kZenkakuTextCheck,    C::kZenkakuSubjectCheck,
    C::kBlankSubjectCheck, C::kAttachCheck, C::kZorvekCheck,         C::kZorvekMemo,
    C::kHissukuCheck,      C::kHissukuMemo, C::kPatternRenameButton, C::kPatternDeleteButton,
};

void ExpectBlankAndDisabled(const FakeView& v) {
  EXPECT_EQ(v.selected, -1);
  for (C c : kDetailControls) EXPECT_FALSE(v.Enabled(c)) << SetupControlName(c);
  for (C memo : {C::kAddressMemo, C::kZorvekMemo, C::kHissukuMemo}) EXPECT_EQ(v.Text(memo), "");
  EXPECT_TRUE(v.Checked(C::kAddressOnRadio));
  EXPECT_FALSE(v.Checked(C::kAddressOffRadio));
  for (const auto& check : kSetupChecks) EXPECT_FALSE(v.Checked(check.control));
}

TEST(SetupModel, OnlyExactlyTrueLoadsChecked) {
  const struct {
    std::string value;
    bool checked;
  } cases[] = {{"True", true}, {"true", false},  {"TRUE", false}, {"1", false},
               {"", false},    {"True ", false}, {"False", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    std::map<F, std::string> values{{F::kAddressOn, c.value}};
    for (const auto& check : kSetupChecks) values[check.field] = c.value;
    Dialog d({Row("p", values)});
    d.view.Select(0, d.model);
    for (const auto& check : kSetupChecks) EXPECT_EQ(d.view.Checked(check.control), c.checked);
    EXPECT_EQ(d.view.Checked(C::kAddressOnRadio), c.checked);
    EXPECT_EQ(d.view.Checked(C::kAddressOffRadio), !c.checked);
    // Loading stores nothing: the odd value survives OK.
    d.model.OKButtonClick();
    EXPECT_EQ(d.settings.table.Get(0, F::kKana), c.value);
  }
}

// Which controls are enabled for a selected pattern, given its three governing flags.
TEST(SetupModel, EnablePanelNesting) {
  const struct {
    bool always, zorvek, hissu;
    bool options, zorvekMemo, hissukuMemo;
  } cases[] = {
      {false, false, false, true, false, false}, {false, true, false, true, true, false},
      {false, false, true, true, false, true},   {false, true, true, true, true, true},
      {true, true, true, false, false, false},   {true, false, false, false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.always << c.zorvek << c.hissu);
    Dialog d({Row("p", {{F::kAlways, c.always ? "True" : "False"},
                        {F::kZorvekCheck, c.zorvek ? "True" : "False"},
                        {F::kHissuCheck, c.hissu ? "True" : "False"}})});
    d.view.Select(0, d.model);
    for (C always : {C::kAddressLabel, C::kAddressMemo, C::kAddressOnRadio, C::kAddressOffRadio,
                     C::kAlwaysCheck, C::kPatternRenameButton, C::kPatternDeleteButton}) {
      EXPECT_TRUE(d.view.Enabled(always)) << SetupControlName(always);
    }
    for (C option : {C::kKanaCheck, C::kZenkakuTextCheck, C::kZenkakuSubjectCheck,
                     C::kBlankSubjectCheck, C::kAttachCheck, C::kZorvekCheck, C::kHissukuCheck}) {
      EXPECT_EQ(d.view.Enabled(option), c.options) << SetupControlName(option);
    }
    EXPECT_EQ(d.view.Enabled(C::kZorvekMemo), c.zorvekMemo);
    EXPECT_EQ(d.view.Enabled(C::kHissukuMemo), c.hissukuMemo);

    // Toggling Always by hand gives the other half of the table; the values stay.
    d.view.Click(C::kAlwaysCheck, d.model);
    EXPECT_EQ(d.view.Enabled(C::kKanaCheck), c.always);
    EXPECT_EQ(d.view.Enabled(C::kZorvekMemo), c.always && c.zorvek);
    EXPECT_EQ(d.view.Enabled(C::kHissukuMemo), c.always && c.hissu);
    EXPECT_EQ(d.view.Checked(C::kZorvekCheck), c.zorvek);
  }
}

TEST(SetupModel, HandlersWithoutSelectionChangeNothing) {
  Dialog d({Row("a", {{F::kAddress, "keep"}})});
  d.view.Type(C::kAddressMemo, "typed", d.model);
  d.view.Click(C::kAddressOffRadio, d.model);
  for (const auto& check : kSetupChecks) d.view.Click(check.control, d.model);
  d.view.Click(C::kAlwaysCheck, d.model);
  d.model.PatternRenameButtonClick();
  d.model.PatternDeleteButtonClick();
  EXPECT_TRUE(d.services.asked.empty());
  d.model.OKButtonClick();
  EXPECT_EQ(d.settings.table.Row(0), Row("a", {{F::kAddress, "keep"}}));
}

TEST(SetupModel, ProgramChangesReportedAsEditsStoreOnlyWhatWasLoaded) {
  Dialog d({Row("a", {{F::kAddress, "x"}, {F::kAlways, "True"}, {F::kZorvek, "z"}}),
            Row("b", {{F::kAddressOn, "False"}, {F::kHissu, "h"}, {F::kKana, "True"}})});
  const PatternTable before = d.settings.table;
  d.view.echo = &d.model;
  d.view.Select(0, d.model);
  d.view.Select(1, d.model);
  d.view.Select(0, d.model);
  d.model.FormShow();
  d.model.OKButtonClick();
  EXPECT_EQ(d.settings.table, before);
}

TEST(SetupModel, AddAsksForANameAndAppendsANewPattern) {
  const struct {
    const char* label;
    std::optional<std::string> answer;
    std::vector<std::string> names;
  } cases[] = {
      {"cancelled", std::nullopt, {"a"}},
      {"named", "new", {"a", "new"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    Dialog d({Row("a", {{F::kAlways, "True"}, {F::kZorvek, "w"}})});
    d.view.Select(0, d.model);
    d.services.answers = {c.answer};
    d.model.PatternAddButtonClick();
    ASSERT_EQ(d.services.asked.size(), 1u);
    EXPECT_EQ(d.services.asked[0].title, "禁句パターンの追加");
    EXPECT_EQ(d.services.asked[0].prompt, "追加する禁句パターンのパターン名を決めてください。");
    EXPECT_EQ(d.services.asked[0].text, "新しい禁句パターン");
    EXPECT_EQ(d.view.items, c.names);
    d.ExpectConsistent();
    if (!c.answer) {
      EXPECT_EQ(d.view.selected, 0);
      continue;
    }
    // The new pattern is selected and shown with only AddressOnRadio set.
    EXPECT_EQ(d.view.selected, 1);
    EXPECT_TRUE(d.view.Checked(C::kAddressOnRadio));
    for (const auto& check : kSetupChecks) EXPECT_FALSE(d.view.Checked(check.control));
    for (C memo : {C::kAddressMemo, C::kZorvekMemo, C::kHissukuMemo}) {
      EXPECT_EQ(d.view.Text(memo), "");
    }
    EXPECT_TRUE(d.view.Enabled(C::kKanaCheck));
    EXPECT_FALSE(d.view.Enabled(C::kZorvekMemo));
    d.model.OKButtonClick();
    EXPECT_EQ(d.settings.table.Row(1), Row(*c.answer));
  }
}

TEST(SetupModel, RenameKeepsSelectionAndReloadsNothing) {
  for (bool ok : {true, false}) {
    SCOPED_TRACE(ok);
    Dialog d({Row("a"), Row("b", {{F::kZorvek, "w"}})});
    d.view.Select(1, d.model);
    d.view.texts[C::kZorvekMemo] = "shown only";  // a reload would replace it
    d.services.answers = {ok ? std::optional<std::string>("renamed") : std::nullopt};
    d.model.PatternRenameButtonClick();
    ASSERT_EQ(d.services.asked.size(), 1u);
    EXPECT_EQ(d.services.asked[0].title, "禁句パターンの改名");
    EXPECT_EQ(d.services.asked[0].prompt, "禁句パターンのパターン名を決めてください。");
    EXPECT_EQ(d.services.asked[0].text, "b");
    EXPECT_EQ(d.view.items[1], ok ? "renamed" : "b");
    EXPECT_EQ(d.view.selected, 1);
    EXPECT_EQ(d.view.Text(C::kZorvekMemo), "shown only");
    EXPECT_TRUE(d.view.Enabled(C::kPatternDeleteButton));
    // Still editable after the rename.
    d.view.Type(C::kHissukuMemo, "h", d.model);
    d.model.OKButtonClick();
    EXPECT_EQ(d.TableNames(), (std::vector<std::string>{"a", ok ? "renamed" : "b"}));
    EXPECT_EQ(d.settings.table.Get(1, F::kHissu), "h");
    EXPECT_EQ(d.settings.table.Get(1, F::kZorvek), "w");
  }
}

TEST(SetupModel, DeleteRemovesTheSelectedPatternAndLeavesNoSelection) {
  const struct {
    size_t rows;
    int index;
    std::vector<std::string> names;
  } cases[] = {{3, 0, {"1", "2"}}, {3, 1, {"0", "2"}}, {3, 2, {"0", "1"}}, {1, 0, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rows << " " << c.index);
    std::vector<PatternRow> rows;
    for (size_t i = 0; i < c.rows; ++i) {
      rows.push_back(Row(std::to_string(i), {{F::kAddress, std::to_string(i)}}));
    }
    Dialog d(rows);
    d.view.Select(c.index, d.model);
    d.model.PatternDeleteButtonClick();
    EXPECT_EQ(d.view.items, c.names);
    d.ExpectConsistent();
    ExpectBlankAndDisabled(d.view);
    d.model.OKButtonClick();
    EXPECT_EQ(d.TableNames(), c.names);
    for (size_t i = 0; i < c.names.size(); ++i) {
      EXPECT_EQ(d.settings.table.Get(i, F::kAddress), c.names[i]);  // fields moved with names
    }
  }
}

TEST(SetupModel, LayoutKeysAtCreation) {
  const struct {
    const char* label;
    std::map<std::string, int, std::less<>> stored;
    int width, panel1, zorvek, page;
  } cases[] = {
      {"absent", {}, 97, 97, 77, 0},
      {"stored",
       {{"PatternPanelWidth", 150},
        {"AddressMemoHeight", 40},
        {"ZorvekPanelHeight", 120},
        {"Page", 2}},
       150,
       74,
       120,
       2},
      {"zero sizes",
       {{"PatternPanelWidth", 0}, {"AddressMemoHeight", 0}, {"ZorvekPanelHeight", 0}},
       0,
       34,
       0,
       0},
      {"negative sizes",
       {{"PatternPanelWidth", -5}, {"AddressMemoHeight", -40}, {"ZorvekPanelHeight", -1}},
       97,
       97,
       77,
       0},
      {"page 4", {{"Page", 4}}, 97, 97, 77, 0},
      {"page -1", {{"Page", -1}}, 97, 97, 77, 0},
      {"page 1", {{"Page", 1}}, 97, 97, 77, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    FakeView view;
    FakeServices services;
    services.ints = c.stored;
    PatternSettings settings;
    SetupModel model(view, services, settings);
    model.FormCreate();
    EXPECT_EQ(view.extents[SetupExtent::kPatternPanelWidth], c.width);
    EXPECT_EQ(view.extents[SetupExtent::kPanel1Height], c.panel1);
    EXPECT_EQ(view.extents[SetupExtent::kZorvekPanelHeight], c.zorvek);
    EXPECT_EQ(view.page, c.page);
    EXPECT_EQ(services.log.front(), "load placement");
  }
}

TEST(SetupModel, CloseWritesTheLayoutKeysThenThePlacement) {
  Dialog d;
  d.services.log.clear();
  d.view.extents[SetupExtent::kPatternPanelWidth] = 130;
  d.view.SetExtent(SetupExtent::kPanel1Height, 100);
  d.view.extents[SetupExtent::kZorvekPanelHeight] = 45;
  d.view.page = 2;
  d.model.CancelButtonClick();
  d.model.FormClose();
  EXPECT_EQ(d.services.log,
            (std::vector<std::string>{"PatternPanelWidth", "AddressMemoHeight", "ZorvekPanelHeight",
                                      "Page", "save placement"}));
  EXPECT_EQ(d.services.ints["PatternPanelWidth"], 130);
  EXPECT_EQ(d.services.ints["AddressMemoHeight"], 66);
  EXPECT_EQ(d.services.ints["ZorvekPanelHeight"], 45);
  EXPECT_EQ(d.services.ints["Page"], 2);

  // What one close wrote, the next creation restores.
  FakeView again;
  SetupModel model(again, d.services, d.settings);
  model.FormCreate();
  EXPECT_EQ(again.extents[SetupExtent::kPanel1Height], 100);
  EXPECT_EQ(again.page, 2);

  // The recipients' splitter: its key only once moved, and from then on at every close.
  again.extents[SetupExtent::kInternalDomainsPanelHeight] = 90;
  model.FormClose();
  EXPECT_EQ(d.services.ints["InternalDomainsPanelHeight"], 90);
  FakeView third;
  SetupModel back(third, d.services, d.settings);
  back.FormCreate();
  EXPECT_EQ(third.extents[SetupExtent::kInternalDomainsPanelHeight], 90);
  third.extents[SetupExtent::kInternalDomainsPanelHeight] = 130;
  back.FormClose();
  EXPECT_EQ(d.services.ints["InternalDomainsPanelHeight"], 130);
}

TEST(SetupModel, RecipientsPageShowsAtShowAndStoresAtOkOnly) {
  const struct {
    const char* label;
    int32_t stored;
    const char* shown;
    const char* typed;  // null: left as shown
    int32_t kept;
  } cases[] = {
      {"untouched", 12, "12", nullptr, 12},
      {"typed", 0, "0", "25", 25},
      {"emptied", 3, "3", "", 0},
      {"pasted text", 3, "3", "7x", 7},
      {"beyond the edit, untouched", 12345, "0", nullptr, 12345},
      {"negative, untouched", -1, "0", nullptr, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    for (const bool ok : {true, false}) {
      Dialog d;
      RecipientSettings& r = d.settings.recipients;
      r = {.internalDomains = "example.co.jp\r\n-ceo@example.co.jp",
           .knownDomains = "client.example",
           .manyRecipients = c.stored,
           .manyDomains = 2,
           .newDomains = true,
           .confirmInternal = true};
      d.model.FormShow();
      EXPECT_FALSE(d.view.Enabled(C::kConfirmInternalCheck));  // only with Confirm ticked
      d.view.Click(C::kConfirmCheck, d.model);
      d.model.ConfirmCheckClick();
      EXPECT_TRUE(d.view.Enabled(C::kConfirmInternalCheck));
      EXPECT_EQ(d.view.Text(C::kInternalDomainsMemo), r.internalDomains);
      EXPECT_EQ(d.view.Text(C::kKnownDomainsMemo), "client.example");
      EXPECT_EQ(d.view.Text(C::kManyRecipientsEdit), c.shown);
      EXPECT_EQ(d.view.Text(C::kManyDomainsEdit), "2");
      EXPECT_TRUE(d.view.Checked(C::kNewDomainsCheck));
      if (c.typed) d.view.texts[C::kManyRecipientsEdit] = c.typed;
      d.view.texts[C::kKnownDomainsMemo] = "";
      d.view.checked[C::kNewDomainsCheck] = false;
      if (ok) {
        d.model.OKButtonClick();
      } else {
        d.model.CancelButtonClick();
      }
      EXPECT_EQ(r.manyRecipients, ok ? c.kept : c.stored);
      EXPECT_EQ(r.knownDomains, ok ? "" : "client.example");
      EXPECT_EQ(r.newDomains, !ok);
      EXPECT_EQ(r.manyDomains, 2);
      EXPECT_EQ(r.confirm, ok);
      EXPECT_TRUE(r.confirmInternal);
    }
  }
}

}  // namespace
}  // namespace zv::ui
