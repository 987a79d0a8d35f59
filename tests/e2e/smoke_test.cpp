// The plug-in loaded by a host process named Mailora.exe: the entry table by name and ordinal.
#include <gtest/gtest.h>

#include <cstring>

#include "mailora/host.h"

namespace {

TEST(Smoke, AnsiCodePageIs932) {
  EXPECT_EQ(::GetACP(), 932u);
}

TEST(Smoke, EveryEntryPointHasItsOrdinal) {
  mailora::Plugin plugin;
  ASSERT_TRUE(plugin.loaded());
  for (unsigned i = 0; i < 9; ++i) {
    SCOPED_TRACE(mailora::kEntryPoints[i]);
    FARPROC byName = plugin.ByName(mailora::kEntryPoints[i]);
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(plugin.ByOrdinal(i + 1), byName);
  }
  EXPECT_EQ(plugin.ByOrdinal(10), nullptr);
}

TEST(Smoke, PlugNameIsOneConstantString) {
  mailora::Plugin plugin;
  ASSERT_TRUE(plugin.loaded());
  auto byName = plugin.GetPlugName();
  auto byOrdinal = mailora::As<mailora::GetPlugNameFn>(plugin.ByOrdinal(1));
  const char* first = byName();
  ASSERT_NE(first, nullptr);
  EXPECT_STREQ(first, "Zorvek32");
  EXPECT_EQ(byName(), first);
  EXPECT_EQ(byOrdinal(), first);
}

}  // namespace
