#include "memo/memo_link.h"

namespace zv {

std::string NotavoExecutable(std::string_view path, std::string_view exeName) {
  std::string file;
  file.reserve(path.size() + exeName.size() + 4);
  file.append(path).append(exeName).append(".exe");
  return file;
}

void StartNotavo(NotavoPlatform& platform) {
  const std::string path = platform.ReadRegistryText(kNotavoPathValue, "");
  if (path.empty()) return;  // not installed
  const std::string exeName = platform.ReadRegistryText(kNotavoExeNameValue, kNotavoDefaultExeName);
  const std::string file = NotavoExecutable(path, exeName);
  if (platform.FileExists(file)) platform.ShellOpen(file);
}

void SendToNotavo(NotavoPlatform& platform, std::string_view text) {
  const ForeignWindow notavo = platform.FindNotavoWindow();
  if (notavo != 0) platform.HandOver(notavo, text);
}

std::string ViewedMailText(std::string_view header, std::string_view body) {
  std::string text;
  text.reserve(header.size() + 4 + body.size());
  text.append(header).append("\r\n\r\n").append(body);
  return text;
}

void MemoFolderCreate(bool associateOption, NotavoPlatform& platform) {
  if (!associateOption) return;
  if (platform.FindNotavoWindow() == 0) StartNotavo(platform);
}

void MemoViewLoadMail(bool associateOption, NotavoPlatform& platform, std::string_view header,
                      std::string_view body) {
  if (!associateOption) return;
  SendToNotavo(platform, ViewedMailText(header, body));
}

void MemoViewClose(bool associateOption, NotavoPlatform& platform) {
  if (!associateOption) return;
  SendToNotavo(platform, "");
}

}  // namespace zv
