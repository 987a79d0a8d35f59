// The recipient warnings over a mail to 10,000 recipients (To and Cc), against an own-domain
// list and a list of domains sent to of 1,000 entries each, and against lists of 10 entries of
// the same kinds. Lookups go through indexes, so the large lists should cost about the same.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "mime/charset.h"
#include "recipients/recipient_warnings.h"
#include "text/header_field.h"

namespace {

// Entry k of the own list: plain domains, addresses, subdomains, patterns and exclusions.
std::string OwnEntry(size_t k) {
  const std::string n = std::to_string(k);
  switch (k % 10) {
    case 0:
    case 1:
    case 2:
      return "corp" + n + ".example.co.jp";
    case 3:
      return "@office" + n + ".example.jp";
    case 4:
    case 5:
      return "user" + n + "@firm" + n + ".jp";
    case 6:
      return "*.group" + n + ".jp";
    case 7:
      return "sales-*@shop" + n + ".jp";
    case 8:
      return "*@partner" + n + "-??.co.jp";
    default:
      return "-boss" + n + "@corp" + std::to_string(k - 9) + ".example.co.jp";
  }
}

// An address that entry k of the own list, or entry k of the domains sent to, speaks of.
std::string Address(size_t i, size_t k) {
  const std::string n = std::to_string(k);
  switch (i % 8) {
    case 0:
      return "taro" + std::to_string(i) + "@corp" + n + ".example.co.jp";
    case 1:
      return "user" + n + "@firm" + n + ".jp";
    case 2:
      return "a" + std::to_string(i) + "@mail.group" + n + ".jp";
    case 3:
      return "sales-" + std::to_string(i) + "@shop" + n + ".jp";
    case 4:
      return "x" + std::to_string(i) + "@partner" + n + "-ab.co.jp";
    case 5:
    case 6:
      return "client" + std::to_string(i) + "@client" + n + ".jp";
    default:
      return "new" + std::to_string(i) + "@new" + std::to_string(i % 3000) + ".jp";
  }
}

// 5,000 recipients in To and 5,000 in Cc, in the forms mail programs write, folded.
std::string Header() {
  std::string header = "From: me@corp0.example.co.jp\r\nSubject: s\r\n";
  for (const char* field : {"To: ", "Cc: "}) {
    header += field;
    for (size_t j = 0; j < 5000; ++j) {
      const size_t i = header.size() + j;
      const std::string address = Address(i, (i * 7) % 1000);
      if (j > 0) header += ",\r\n ";
      switch (i % 3) {
        case 0:
          header += "山田 太郎 <" + address + ">";
          break;
        case 1:
          header += address;
          break;
        default:
          header += "\"Sato, Hanako\" <" + address + ">";
          break;
      }
    }
    header += "\r\n";
  }
  return header;
}

void BM_Recipients_Check(benchmark::State& state) {
  static const std::string header = Header();
  const size_t entries = static_cast<size_t>(state.range(0));
  zv::RecipientSettings settings;
  settings.manyRecipients = 100;
  settings.manyDomains = 5;
  settings.newDomains = true;
  for (size_t k = 0; k < entries; ++k) {
    settings.internalDomains += OwnEntry(k) + "\r\n";
    settings.knownDomains += "client" + std::to_string(k) + ".jp\r\n";
  }
  const auto converter = zv::PlatformConverter();
  for (auto _ : state) {
    // As at a send: the header unfolded, the lists read, the recipients looked up.
    const std::vector<std::string> lines = zv::UnfoldHeader(header);
    const zv::RecipientFindings found = zv::CheckRecipients(
        settings, std::vector<std::string_view>(lines.begin(), lines.end()), *converter);
    benchmark::DoNotOptimize(found.findings.data());
  }
}
BENCHMARK(BM_Recipients_Check)->Arg(10)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
