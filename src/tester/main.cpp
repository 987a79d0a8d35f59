// zorvek-check: the command line over the rule tester. Natively the console speaks UTF-8 and
// the messages are English; the Windows build speaks code page 932 and Japanese.
#include <cstdio>
#include <exception>

#include "tester/tester.h"

namespace {

class StdIo : public zv::tester::TesterIo {
 public:
  std::optional<std::string> ReadFile(const std::string& name) override {
    std::FILE* f = std::fopen(name.c_str(), "rb");
    if (!f) return std::nullopt;
    std::string text;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return std::nullopt;
    return text;
  }
  void Out(std::string_view bytes) override {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  }
  void Err(std::string_view bytes) override {
    std::fflush(stdout);
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
  }
};

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::vector<std::string> args(argv + 1, argv + argc);
    StdIo io;
    const auto converter = zv::PlatformConverter();
#ifdef _WIN32
    const zv::tester::Console console{true, zv::tester::Language::kJapanese};
#else
    const zv::tester::Console console{false, zv::tester::Language::kEnglish};
#endif
    const int status = zv::tester::RunTester(args, io, *converter, console);
    std::fflush(stdout);
    return status;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zorvek-check: %s\n", e.what());
    return 2;
  }
}
