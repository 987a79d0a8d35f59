// The rule tester: saved mails through the plug-in's own settings store, pattern load and
// send-time check, and the settings linter. The program's main only supplies the platform.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/send_check.h"
#include "mime/charset.h"
#include "tester/lint.h"

namespace zv::tester {

// The attachment answer from the command line; the warning, and the confirmation when the
// settings ask for it, are kept instead of shown.
class RecordingHost : public SendCheckHost {
 public:
  explicit RecordingHost(bool attached) : attached_(attached) {}
  Attachment TestAttachment() override {
    return attached_ ? Attachment::kPresent : Attachment::kAbsent;
  }
  bool AskUser(std::string_view text, std::string_view) override {
    warning_ = std::string(text);
    return false;
  }
  bool Confirm(const CheckResult& result) override {
    warning_ = WarningText(result.blocks);
    confirmed_ = result;
    return false;
  }
  const std::string& warning() const { return warning_; }
  // What the confirmation would have shown; nullopt when it would not have been shown.
  const std::optional<CheckResult>& confirmed() const { return confirmed_; }

 private:
  bool attached_;
  std::string warning_;
  std::optional<CheckResult> confirmed_;
};

class TesterIo {
 public:
  virtual ~TesterIo() = default;
  // The whole file; nullopt when it cannot be read.
  virtual std::optional<std::string> ReadFile(const std::string& name) = 0;
  virtual void Out(std::string_view bytes) = 0;
  virtual void Err(std::string_view bytes) = 0;
};

// How the console speaks: arguments and output in code page 932 (Windows) or UTF-8.
struct Console {
  bool cp932 = false;
  Language language = Language::kEnglish;
};

// Runs one command line (without the program name): 0 when no mail gives a warning (or the
// lint finds nothing), 1 when one does, 2 on bad input.
int RunTester(const std::vector<std::string>& args, TesterIo& io, CharsetConverter& converter,
              const Console& console);

}  // namespace zv::tester
