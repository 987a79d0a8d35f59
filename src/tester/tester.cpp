#include "tester/tester.h"

#include "check/patterns.h"
#include "plugin/signature.h"
#include "settings/ini_store.h"
#include "tester/mime.h"
#include "text/lines.h"
#include "ui/confirm_rows.h"

namespace zv::tester {
namespace {

constexpr std::string_view kProgram = "zorvek-check: ";
constexpr std::string_view kUsage =
    "usage: zorvek-check --settings FILE [--signature FILE --signature-name NAME]"
    " [--attachment] [--encoding cp932|utf-8] MAIL...\n"
    "       zorvek-check --lint FILE\n";

struct Options {
  std::string settings, signature, signatureName, lint;
  bool haveSignature = false, haveSignatureName = false, attachment = false;
  FileEncoding encoding = FileEncoding::kCp932;
  std::vector<std::string> mails;
};

class Runner {
 public:
  Runner(TesterIo& io, CharsetConverter& converter, const Console& console)
      : io_(io), converter_(converter), console_(console) {}

  int Run(const std::vector<std::string>& args) {
    Options o;
    if (!Parse(args, o)) return 2;
    return o.lint.empty() ? Check(o) : Lint(o.lint);
  }

 private:
  // One line on the error stream, naming the file (as given) and the reason.
  void Fail(std::string_view file, std::string_view reason) {
    std::string line(kProgram);
    if (!file.empty()) line.append(file).append(": ");
    line.append(reason).append("\n");
    io_.Err(line);
  }
  std::string ToConsole(std::string_view cp932) {
    return console_.cp932 ? std::string(cp932) : converter_.Cp932ToUtf8(cp932);
  }

  bool Parse(const std::vector<std::string>& args, Options& o) {
    for (size_t i = 0; i < args.size(); ++i) {
      const std::string& a = args[i];
      auto value = [&](std::string& into) {
        if (i + 1 >= args.size()) return false;
        into = args[++i];
        return true;
      };
      bool ok = true;
      if (a == "--settings") ok = value(o.settings);
      else if (a == "--lint") ok = value(o.lint);
      else if (a == "--signature") ok = o.haveSignature = value(o.signature);
      else if (a == "--signature-name") ok = o.haveSignatureName = value(o.signatureName);
      else if (a == "--attachment") o.attachment = true;
      else if (a == "--encoding") {
        std::string e;
        ok = value(e);
        if (e == "utf-8" || e == "UTF-8" || e == "utf8") o.encoding = FileEncoding::kUtf8;
        else if (e == "cp932" || e == "CP932" || e == "shift_jis" || e == "Shift_JIS") o.encoding = FileEncoding::kCp932;
        else if (ok) return Usage("unknown encoding " + e);
      } else if (a.starts_with("-") && a != "-") {
        return Usage("unknown option " + a);
      } else {
        o.mails.push_back(a);
      }
      if (!ok) return Usage("option " + a + " needs a value");
    }
    if (!o.lint.empty()) {
      if (!o.settings.empty() || !o.mails.empty() || o.haveSignature || o.haveSignatureName ||
          o.attachment) {
        return Usage("--lint takes one settings file and nothing else");
      }
      return true;
    }
    if (o.settings.empty()) return Usage("--settings is missing");
    if (o.haveSignature != o.haveSignatureName) {
      return Usage("--signature and --signature-name go together");
    }
    if (o.mails.empty()) return Usage("no mail given");
    return true;
  }
  bool Usage(const std::string& reason) {
    Fail({}, reason);
    io_.Err(kUsage);
    return false;
  }

  int Lint(const std::string& file) {
    const std::optional<std::string> text = io_.ReadFile(file);
    if (!text) {
      Fail(file, "cannot be read");
      return 2;
    }
    const std::vector<LintFinding> found = LintSettings(*text, console_.language);
    std::string out;
    for (const LintFinding& f : found) {
      out += file + ":" + std::to_string(f.line) + ": " + ToConsole(f.message) + "\n";
    }
    io_.Out(out);
    return found.empty() ? 0 : 1;
  }

  int Check(const Options& o) {
    const std::optional<std::string> settingsText = io_.ReadFile(o.settings);
    if (!settingsText) {
      Fail(o.settings, "cannot be read");
      return 2;
    }
    IniStore store;
    store.Parse(*settingsText);
    PatternSettings settings;
    LoadPatterns(settings, store, [] { return false; });

    std::string signature;
    if (o.haveSignature) {
      const std::optional<std::string> file = io_.ReadFile(o.signature);
      if (!file) {
        Fail(o.signature, "cannot be read");
        return 2;
      }
      std::string name = o.signatureName;
      if (!console_.cp932 && !converter_.Utf8ToCp932(o.signatureName, name)) {
        Fail({}, "--signature-name has no code page 932 form");
        return 2;
      }
      signature = SignatureBlockFromText(*file, name);
    }

    int status = 0;
    for (const std::string& name : o.mails) {
      const std::optional<std::string> file = io_.ReadFile(name);
      if (!file) {
        Fail(name, "cannot be read");
        status = 2;
        continue;
      }
      MailText mail;
      const Decoded read = IsEmlName(name) ? ReadEml(*file, o.encoding, converter_, mail)
                                           : ReadTextMail(*file, o.encoding, converter_, mail);
      if (!read.ok) {
        Fail(name, read.text);
        status = 2;
        continue;
      }
      RecordingHost host(o.attachment || mail.attachment);
      // The domains sent to are read and never written: nothing is sent.
      CheckOutgoingMail(settings, mail.header, mail.body + signature, host, converter_);
      std::string out = "== " + name + "\n";
      if (host.warning().empty()) {
        out += "no warning\n";
      } else {
        ForEachLine(host.warning(), [&](std::string_view line) {
          out += ToConsole(line);
          out += "\n";
        });
        if (status == 0) status = 1;
      }
      if (settings.recipients.confirm) out += ConfirmationLines(host.confirmed());
      io_.Out(out);
    }
    return status;
  }

  // The rows the confirmation window would show, one a line ("[ ] 警告 …", "[x] Cc address
  // domain"), or "no confirmation".
  std::string ConfirmationLines(const std::optional<CheckResult>& confirmed) {
    if (!confirmed) return "no confirmation\n";
    std::string out;
    for (const ui::ConfirmRow& row : ui::ConfirmRows(*confirmed)) {
      std::string line = row.ticked ? "[x] " : "[ ] ";
      line.append(row.kind).append(" ").append(row.content);
      if (!row.domain.empty()) line.append(" ").append(row.domain);
      out += ToConsole(line);
      out += "\n";
    }
    return out;
  }

  TesterIo& io_;
  CharsetConverter& converter_;
  const Console& console_;
};

}  // namespace

int RunTester(const std::vector<std::string>& args, TesterIo& io, CharsetConverter& converter,
              const Console& console) {
  return Runner(io, converter, console).Run(args);
}

}  // namespace zv::tester
