#include "ui/setup_form.h"

#include <gtest/gtest.h>

#include "ui/setup_model.h"

namespace zv::ui {
namespace {

TEST(SetupFormDescription, IsSoundAndHoldsWhatTheBehaviourUses) {
  EXPECT_EQ(CheckFormDescription(kSetupFormDescription), std::vector<std::string>{});
  for (size_t i = 0; i < kSetupControlCount; ++i) {
    const auto name = SetupControlName(static_cast<SetupControl>(i));
    EXPECT_NE(FindControl(kSetupFormDescription, name), nullptr) << name;
  }
}

}  // namespace
}  // namespace zv::ui
