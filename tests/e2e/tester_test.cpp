// The sample mails of the rule tester through the plug-in in the substitute host and through
// zorvek-check of the same build: both give the same warning text for every mail.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "mailora/host.h"
#include "mailora/host_files.h"
#include "mailora/host_registry.h"
#include "mailora/host_warning.h"
#include "mailora/host_window.h"
#include "win/handles_win32.h"
#include "tester/mime.h"

namespace {

const char* const kMails[] = {"sjis.txt", "utf8.txt", "iso2022.eml", "multipart.eml"};

// zorvek-check's output and exit status for `arguments`, run from this executable's folder.
struct TesterRun {
  DWORD status = 0xFFFFFFFF;
  std::string out;
};
TesterRun RunTester(const std::string& arguments) {
  TesterRun run;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
  zv::win::UniqueFile reader(readEnd), writer(writeEnd);
  ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi{};
  std::string command = "\"" + mailora::ExeFolder() + "zorvek-check.exe\" " + arguments;
  const std::string folder = mailora::ExeFolder();
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        folder.c_str(), &si, &pi)) {
    return run;
  }
  zv::win::UniqueFile process(pi.hProcess), thread(pi.hThread);
  writer.reset();  // the child holds the only write end now: reading ends when it exits
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(reader.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    run.out.append(buffer, got);
  }
  ::WaitForSingleObject(process.get(), 120000);
  ::GetExitCodeProcess(process.get(), &run.status);
  return run;
}

// The tester's output per mail: each block's lines joined by CR LF as the box shows them, or
// an empty text for "no warning".
std::map<std::string, std::string> WarningsByMail(const std::string& out) {
  std::map<std::string, std::string> warnings;
  std::string* current = nullptr;
  size_t pos = 0;
  while (pos < out.size()) {
    size_t end = out.find("\r\n", pos);
    if (end == std::string::npos) end = out.size();
    const std::string line = out.substr(pos, end - pos);
    pos = end + 2;
    if (line.rfind("== ", 0) == 0) {
      current = &warnings[line.substr(line.find_last_of('\\') + 1)];
    } else if (current && line != "no warning") {
      if (!current->empty() || line.empty()) *current += "\r\n";
      *current += line;
    }
  }
  return warnings;
}

TEST(Tester, SameWarningsAsThePlugin) {
  const std::string data = mailora::ExeFolder() + "tester\\";
  const std::string box = data + "box\\";
  ::CreateDirectoryA(box.c_str(), nullptr);
  ::CreateDirectoryA((box + "Plugins").c_str(), nullptr);
  const std::string settings = mailora::ReadFileBytes(data + "Zorvek32.ini");
  ASSERT_FALSE(settings.empty());
  ASSERT_TRUE(mailora::WriteFileBytes(box + "Plugins\\Zorvek32.ini", settings));
  mailora::ResetScript();
  mailora::DeletePluginRecord();
  mailora::Script().mailbox = box;
  mailora::Script().account = box;
  ASSERT_TRUE(mailora::SetCommonOption(false));

  std::map<std::string, std::string> fromPlugin;
  {
    mailora::Plugin plugin;
    ASSERT_TRUE(plugin.loaded());
    ASSERT_EQ(plugin.StartUp()("1.10"), -1);
    const auto converter = zv::PlatformConverter();
    for (const char* name : kMails) {
      const std::string file = mailora::ReadFileBytes(data + "mails\\" + name);
      zv::tester::MailText mail;
      const zv::Decoded read =
          zv::tester::IsEmlName(name)
              ? zv::tester::ReadEml(file, zv::tester::FileEncoding::kCp932, *converter, mail)
              : zv::tester::ReadTextMail(file, zv::tester::FileEncoding::kCp932, *converter, mail);
      ASSERT_TRUE(read.ok) << name << ": " << read.text;
      mailora::CompositionWindow w(mail.body, "(無し)");
      mailora::PlaceEditor(w, mail.attachment ? 12 : 0);
      mailora::Script().headers[w.hwnd()] = mail.header;
      mailora::Script().editors[w.hwnd()] = w.body();
      mailora::WarningAnswerer answerer(IDNO);
      plugin.SendPost()(w.hwnd(), 0);
      const mailora::WarningSeen& seen = answerer.Finish();
      fromPlugin[name] = seen.shown ? seen.text : "";
    }
    plugin.CleanUp()();
  }
  ::DeleteFileA((box + "Plugins\\Zorvek32.ini").c_str());
  ::RemoveDirectoryA((box + "Plugins").c_str());
  ::RemoveDirectoryA(box.c_str());
  mailora::DeleteHostOptions();
  mailora::DeletePluginRecord();
  mailora::ResetScript();

  std::string arguments = "--settings tester\\Zorvek32.ini";
  for (const char* name : kMails) arguments += std::string(" tester\\mails\\") + name;
  const TesterRun run = RunTester(arguments);
  EXPECT_EQ(run.status, 1u) << run.out;
  const std::map<std::string, std::string> fromTester = WarningsByMail(run.out);
  EXPECT_EQ(fromTester, fromPlugin);
  EXPECT_FALSE(fromPlugin["multipart.eml"].empty());
}

}  // namespace
