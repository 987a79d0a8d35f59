#include "text/header_field.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/lines.h"

namespace zv {
namespace {

TEST(HeaderField, Table) {
  struct Case {
    std::string name, header, expected;
  };
  const std::vector<Case> cases = {
      {"SUBJECT:", "Subject:   Hello  ", "Hello"},
      {"SUBJECT:", "subject:", ""},
      {"TO:", "Toxic: x\r\nTo: a@b", "a@b"},
      {"TO:", "tO:\tA@B\t", "A@B"},
      {"TO:", "From: x\r\nCc: y", ""},
      {"TO:", "To: first\r\nTo: second", "first"},
      {"TO:", "T", ""},
      {"SUBJECT:", "Subject: \x81\x40\x81\x40", "\x81\x40\x81\x40"},  // full-width blanks stay
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HeaderField(c.name, SplitLines(c.header)), c.expected) << c.header;
  }
}

}  // namespace
}  // namespace zv
