// The demo host: installs the sample settings beside itself, starts Zorvek32.dll and sends the
// sample mails through it one by one, answering each warning as the sends list says. Prints, for
// each mail, the warning (if any), the answer, the header handed back and whether the mail went
// out, and saves a picture of the first warning box.
//
//   Mailora.exe EXAMPLES-FOLDER\ PICTURE.bmp
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host.h"
#include "host_warning.h"
#include "host_window.h"

namespace {

struct Send {
  std::string file, answer, signature;
  bool attachments = false;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The sends list: one send a line, '#' starts a comment line.
std::vector<Send> ReadSends(const std::string& path) {
  std::vector<Send> sends;
  std::istringstream lines(ReadFile(path));
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == '#' || line[0] == '\r') continue;
    std::istringstream fields(line);
    Send s;
    std::string attachments;
    if (fields >> s.file >> s.answer >> s.signature >> attachments) {
      s.attachments = attachments == "attached";
      sends.push_back(s);
    }
  }
  return sends;
}

// Prints each line of `text` indented, whatever its line breaks.
void PrintIndented(const std::string& text) {
  std::string line;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '\r' || text[i] == '\n') {
      if (i < text.size() || !line.empty()) std::printf("    %s\n", line.c_str());
      line.clear();
      if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
    } else {
      line += text[i];
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: Mailora.exe EXAMPLES-FOLDER\\ PICTURE.bmp\n");
    return 2;
  }
  const std::string examples = argv[1];
  const std::string picture = argv[2];

  // The settings file goes where the plug-in looks for it: Plugins beside the host.
  const std::string plugins = mailora::ExeFolder() + "Plugins\\";
  ::CreateDirectoryA(plugins.c_str(), nullptr);
  if (!::CopyFileA((examples + "Zorvek32.ini").c_str(), (plugins + "Zorvek32.ini").c_str(),
                   FALSE)) {
    std::printf("cannot install the sample settings into %s\n", plugins.c_str());
    return 1;
  }

  mailora::Plugin plugin;
  if (!plugin.loaded()) {
    std::printf("Zorvek32.dll could not be loaded from %s\n", mailora::ExeFolder().c_str());
    return 1;
  }
  std::printf("%s loaded; ANSI code page %u\n", plugin.GetPlugName()(), ::GetACP());
  const int32_t started = plugin.StartUp()("1.10");
  std::printf("APCStartUp(\"1.10\") = %d\n", started);
  if (started != -1) return 1;

  auto& script = mailora::Script();
  script.account = examples + "account\\";
  bool pictureTaken = false;
  for (const Send& send : ReadSends(examples + "sends.txt")) {
    const std::string mail = ReadFile(examples + "mails\\" + send.file);
    const size_t split = mail.find("\r\n\r\n");
    const std::string header = mail.substr(0, split == std::string::npos ? mail.size() : split + 2);
    const std::string body = split == std::string::npos ? "" : mail.substr(split + 4);

    mailora::CompositionWindow w(body, send.signature);
    PlaceEditor(w, send.attachments ? 40 : 0);
    script.headers[w.hwnd()] = header;
    script.editors[w.hwnd()] = w.body();
    script.setHeaderCalls.clear();

    std::printf("\n==== %s (signature %s, %s)\n", send.file.c_str(), send.signature.c_str(),
                send.attachments ? "attachments listed" : "no attachments");
    std::printf("  header from the host:\n");
    PrintIndented(header);

    const bool yes = send.answer == "Yes";
    mailora::WarningAnswerer answerer(yes ? IDYES : IDNO, pictureTaken ? "" : picture);
    const int32_t result = plugin.SendPost()(w.hwnd(), 0);
    const mailora::WarningSeen& seen = answerer.Finish();

    if (seen.shown) {
      pictureTaken = pictureTaken || seen.captured;
      std::printf("  warning shown:\n");
      PrintIndented(seen.text);
      std::printf("  answer: %s\n", yes ? "はい (Yes)" : "いいえ (No)");
    } else {
      std::printf("  warning shown: none\n  answer: none asked\n");
    }
    if (script.setHeaderCalls.empty()) {
      std::printf("  header sent back: none (unchanged)\n");
    } else {
      std::printf("  header sent back:\n");
      PrintIndented(script.setHeaderCalls.back().header);
    }
    std::printf("  APCSendPost = %d: %s\n", result,
                result == -1 ? "the mail goes out" : "the mail is held back");
  }

  plugin.CleanUp()();
  std::printf("\npicture of the first warning: %s\n", pictureTaken ? "saved" : "none taken");
  return 0;
}
