// A host that exports 25 of the 26 functions: start-up is refused after the registry record is
// written, and the refused plug-in lets every mail through without touching the host.
#include <gtest/gtest.h>

#include "mailora/host.h"
#include "mailora/host_registry.h"
#include "mailora/host_window.h"

namespace {

TEST(MissingHostFunction, RefusesStartUpButKeepsTheRecord) {
  mailora::ResetScript();
  mailora::DeletePluginRecord();
  {
    mailora::Plugin plugin;
    ASSERT_TRUE(plugin.loaded());
    ASSERT_EQ(::GetProcAddress(::GetModuleHandleA(nullptr), "_APAViewChangeMail@8"), nullptr);
    ASSERT_NE(::GetProcAddress(::GetModuleHandleA(nullptr), "_APAJisToSjis@12"), nullptr);

    EXPECT_EQ(plugin.StartUp()("1.10"), 0);
    const std::vector<mailora::RegistryValue> record = {
        {"CopyrightYear", REG_SZ, "1997-2000"},
        {"Filename", REG_SZ, "Zorvek32"},
        {"Version", REG_SZ, "Ver.1.04 Rev.2"},
    };
    EXPECT_EQ(mailora::ReadPluginRecord(), record);

    mailora::CompositionWindow w("body", "(無し)");
    mailora::Script().headers[w.hwnd()] = "To: a@example.com\r\n";
    EXPECT_EQ(plugin.SendPost()(w.hwnd(), 0), -1);
    EXPECT_EQ(plugin.Setup()(0), 2);
    plugin.CleanUp()();
    EXPECT_TRUE(mailora::Script().calls.empty());
  }
  mailora::DeletePluginRecord();
}

}  // namespace
