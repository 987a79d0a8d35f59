// Settings that silently do nothing or surprise, found in the text of a settings file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zv::tester {

enum class Language { kEnglish, kJapanese };

struct LintFinding {
  size_t line;          // 1-based line of the file
  std::string message;  // code page 932
};

// Every finding, in line order (findings of one line in the order of the rules). Linear in the
// size of the file, apart from sorting the pattern numbers present.
std::vector<LintFinding> LintSettings(std::string_view fileText, Language language);

}  // namespace zv::tester
