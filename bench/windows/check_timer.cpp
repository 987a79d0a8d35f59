// The send-time check of the benchmark command's data in a Windows build, for the 32-bit and
// x86_64 figures under Wine: prints "NAME CPU_MS WALL_MS" for a plain memory pass over the
// 10 MB body and for the check of the 1 MB and 10 MB mails (best of the repetitions).
//
//   check_timer.exe [REPETITIONS]      data folder: ZV_QUALITY_DATA, as for zv_bench
#include <cstdlib>
#include <string>

#include "check/patterns.h"
#include "check/send_check.h"
#include "quality_data.h"
#include "settings/ini_store.h"
#include "timing.h"

namespace {

class YesHost final : public zv::SendCheckHost {
 public:
  zv::Attachment TestAttachment() override { return zv::Attachment::kAbsent; }
  bool AskUser(std::string_view, std::string_view) override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::atoi(argv[1]) : 7;
  const zv::bench::Files& data = zv::bench::Data();
  zv::IniStore store;
  store.Parse(zv::bench::ReadFile(data.checkSettings));
  zv::PatternSettings settings;
  zv::LoadPatterns(settings, store, [] { return false; });
  const std::string header = zv::bench::MailHeader();
  const std::string body1 = zv::bench::ReadFile(data.mail1);
  const std::string body10 = zv::bench::ReadFile(data.mail10);
  if (body10.empty() || settings.table.size() == 0) {
    std::printf("no benchmark data in %s\n", data.folder.c_str());
    return 1;
  }
  YesHost host;
  volatile uint64_t sink = 0;
  zv::bench::Print("memory10", zv::bench::Best(repetitions, 1000, [&] {
                     sink = sink + zv::bench::MemoryPass(body10);
                   }));
  zv::bench::Print("check1", zv::bench::Best(repetitions, 1000, [&] {
                     sink = sink + zv::CheckOutgoingMail(settings.table, header, body1, host);
                   }));
  zv::bench::Print("check10", zv::bench::Best(repetitions, 1000, [&] {
                     sink = sink + zv::CheckOutgoingMail(settings.table, header, body10, host);
                   }));
  return 0;
}
