#include "ui/confirm_form.h"

#include <gtest/gtest.h>

#include <vector>

namespace zv::ui {
namespace {

TEST(ConfirmModel, SendOnlyWhileEveryRowIsTicked) {
  const std::vector<ConfirmRow> rows = {
      {"警告", "【社外宛】以下の禁句が入っています。 「社外秘」", "", false, true},
      {"To", "山本 様 <yamamoto@client.example>", "client.example", false, true},
      {"Cc", "tanaka@tessaly.example", "tessaly.example", true, false},
  };
  ConfirmModel model(rows);
  EXPECT_FALSE(model.CanSend());
  model.SetTicked(0, true);
  model.SetTicked(0, true);  // ticking twice counts once
  EXPECT_FALSE(model.CanSend());
  model.SetTicked(1, true);
  EXPECT_TRUE(model.CanSend());
  model.SetTicked(2, false);  // an internal row unticked again
  model.SetTicked(7, true);   // no such row
  EXPECT_FALSE(model.CanSend());
  EXPECT_FALSE(model.Send());
  EXPECT_FALSE(model.Sent());
  model.SetTicked(2, true);
  EXPECT_TRUE(model.Send());
  EXPECT_TRUE(model.Sent());

  EXPECT_TRUE(ConfirmModel({}).CanSend());
}

}  // namespace
}  // namespace zv::ui
