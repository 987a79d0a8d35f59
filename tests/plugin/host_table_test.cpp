#include "plugin/host_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "plugin/version_check.h"

namespace zv {
namespace {

// A host that exports every name but `missing` (none when it is out of range); each answer is
// a distinct fake address.
struct FakeHost {
  size_t missing;
  std::vector<std::string> asked;

  void* operator()(const char* name) {
    asked.push_back(name);
    for (size_t i = 0; i < kHostFunctionCount; ++i) {
      if (name == std::string(kHostFunctionNames[i])) {
        return i == missing ? nullptr : reinterpret_cast<void*>(0x1000 + i);
      }
    }
    return nullptr;
  }
};

TEST(ResolveHostTable, EveryNameIsRequired) {
  for (size_t missing = 0; missing <= kHostFunctionCount; ++missing) {
    SCOPED_TRACE(missing < kHostFunctionCount ? kHostFunctionNames[missing] : "none missing");
    FakeHost host{missing, {}};
    HostTable table;
    const bool all = ResolveHostTable(table, std::ref(host));
    EXPECT_EQ(all, missing == kHostFunctionCount);
    // Every name is asked for, in order, even after the miss.
    ASSERT_EQ(host.asked.size(), kHostFunctionCount);
    for (size_t i = 0; i < kHostFunctionCount; ++i) {
      EXPECT_EQ(host.asked[i], kHostFunctionNames[i]);
      EXPECT_EQ(table.entries[i], i == missing ? nullptr : reinterpret_cast<void*>(0x1000 + i));
    }
  }
}

TEST(ResolveHostTable, NamesAreDistinctAndDecorated) {
  std::set<std::string> seen;
  for (const char* name : kHostFunctionNames) {
    const std::string s = name;
    EXPECT_TRUE(seen.insert(s).second) << s;
    EXPECT_EQ(s.rfind("_APA", 0), 0u) << s;
    const size_t at = s.find('@');
    ASSERT_NE(at, std::string::npos) << s;
    EXPECT_EQ(std::stoi(s.substr(at + 1)) % 4, 0) << s;
  }
  EXPECT_STREQ(kHostFunctionNames[static_cast<size_t>(HostFn::kSendSetHeader)],
               "_APASendSetHeader@8");
  EXPECT_STREQ(kHostFunctionNames[static_cast<size_t>(HostFn::kJisToSjis)], "_APAJisToSjis@12");
}

TEST(IsAcceptedHostVersion, Table) {
  struct Case {
    std::string version;
    bool accepted;
  };
  const std::vector<Case> cases = {
      {"1.10", true},  {"1.2", true},   {"2.0", true},   {"10.0", true},
      {"1.10a", true}, {"1.11", true},  {"\x81", true},  {"1.1\xFF", true},
      {"1.09", false}, {"1.1", false},  {"1.0", false},  {"", false},
      {"1", false},    {"0.99", false}, {"1.1 ", false}, {"!", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsAcceptedHostVersion(c.version), c.accepted) << c.version;
}

}  // namespace
}  // namespace zv
