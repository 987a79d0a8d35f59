#include "plugin/signature.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zv {
namespace {

TEST(SignatureBlock, Table) {
  struct Case {
    const char* what;
    std::string file, name, expected;
  };
  const std::vector<Case> cases = {
      {"other letter case, text before {End}", "{Begin work}\r\nBest regards\r\nTaro{End}\r\n",
       "WORK", "Best regards\r\nTaro"},
      {"{End} line ends the block", "{Begin A}\nx\n{End}\ny\n", "A", "x\r\n"},
      {"{END} is text", "{Begin A}\r\n{END}\r\nz{End}", "A", "{END}\r\nz"},
      {"{end} at a line's end is text", "{Begin A}\r\nx{end}\r\n{End}", "A", "x{end}\r\n"},
      {"no end line", "{Begin A}\r\nl1\rl2\nl3", "A", "l1\r\nl2\r\nl3\r\n"},
      {"blank lines kept", "{Begin A}\r\n\r\nx\r\n\r\n{End}", "A", "\r\nx\r\n\r\n"},
      {"empty block", "{Begin A}\r\n{End}\r\n", "A", ""},
      {"no such block", "{Begin A}\r\nx\r\n{End}\r\n", "B", ""},
      {"first block of the name", "{Begin A}\r\n1\r\n{End}\r\n{Begin a}\r\n2\r\n{End}", "a",
       "1\r\n"},
      {"later block", "{Begin A}\r\n1\r\n{End}\r\n{Begin B}\r\n2\r\n{End}", "B", "2\r\n"},
      {"begin line must match whole", "{Begin A} \r\nx\r\n{Begin AB}\r\ny\r\n", "A", ""},
      {"{Begin} name is case-folded too", "{BEGIN a}\r\nx\r\n", "A", "x\r\n"},
      {"zero byte ends the file", std::string("{Begin A}\r\nx\0y\r\n", 15), "A", "x\r\n"},
      {"empty file", "", "A", ""},
      {"two-byte name", "{Begin \x8E\x64\x8E\x96}\r\nx\r\n", "\x8E\x64\x8E\x96", "x\r\n"},
      {"trail byte is not case-folded", "{Begin \x83\x61}\r\nx\r\n", "\x83\x41", ""},
      {"two-byte text kept", "{Begin A}\r\n\x88\xEA\x98\x59{End}", "A", "\x88\xEA\x98\x59"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SignatureBlockFromText(c.file, c.name), c.expected) << c.what;
  }
}

TEST(SignatureBlock, BeginLineComparedByTheGivenRule) {
  // The system compares the begin line; here full-width A equals A.
  const auto wide = [](std::string_view line, std::string_view wanted) {
    return line == "{Begin \x82\x60}" && wanted == "{Begin A}";
  };
  EXPECT_EQ(
      SignatureBlockFromText("{Begin A}\r\nno\r\n{End}\r\n{Begin \x82\x60}\r\nyes\r\n", "A", wide),
      "yes\r\n");
}

TEST(EqualsIgnoringAsciiCase, Table) {
  struct Case {
    std::string a, b;
    bool equal;
  };
  const std::vector<Case> cases = {
      {"abc", "ABC", true},
      {"aBc", "AbC", true},
      {"abc", "abd", false},
      {"abc", "ab", false},
      {"", "", true},
      {"[", "{", false},
      {"\x83\x61", "\x83\x41", false},
      {"\x83\x61", "\x83\x61", true},
      {"a\x83", "A\x83", true},  // a lone lead byte at the end is a character of its own
  };
  for (const auto& c : cases) EXPECT_EQ(EqualsIgnoringAsciiCase(c.a, c.b), c.equal) << c.a;
}

}  // namespace
}  // namespace zv
