// The sequences behind the entry points: start-up, clean-up, the send and the rest, over the
// steps the platform supplies. Before a successful start-up, after a refused one and after
// clean-up, every entry point but the About box does nothing: the send lets the mail through
// and Setup answers 2.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "check/pattern_table.h"
#include "check/send_check.h"
#include "plugin/signature.h"
#include "settings/ini_file.h"

namespace zv {

// A window of the host's (the composition window of a send, the owner of the About box),
// borrowed and handed on to the steps without being looked at. Null is none.
using HostWindow = struct OpaqueHostWindow*;

// What the sequences need from the platform. Any step may throw; the sequence decides what a
// failure means.
class PluginSteps {
 public:
  virtual ~PluginSteps() = default;

  // Writes the plug-in's record and binds the host's functions; false, holding nothing, when
  // the host is not there.
  virtual bool BindHost() = 0;
  virtual void UnbindHost() = 0;

  virtual IniLoadResult LoadIniStore() = 0;
  virtual void CreateSetupDialog(PatternSettings& settings) = 0;  // `settings` outlives it
  virtual void LoadPatterns(PatternSettings& settings) = 0;
  virtual void EnableAssociateCheck(bool notavoInstalled) = 0;
  // A settings file that cannot be written leaves the old one in place; the host is not told.
  virtual void SavePatterns(PatternSettings& settings) = 0;
  virtual void DestroySetupDialog() = 0;
  virtual void FreeIniStore() = 0;

  virtual OutgoingMail CaptureMail(HostWindow composition) = 0;
  // The send-time check, warning included: whether to send the mail, and its new domains.
  virtual SendVerdict CheckMail(const PatternSettings& settings, HostWindow composition,
                                const OutgoingMail& mail) = 0;
  virtual void SetHeader(HostWindow composition, const std::string& header) = 0;

  // The setup dialog's modal result: kModalOk or kModalCancel.
  virtual int32_t ShowSetupDialog() = 0;
  virtual void ShowAboutBox(HostWindow owner) = 0;
  // The memo-pad link's work; run only with AssociateOption on.
  virtual void MemoFolderCreate() = 0;
  virtual void MemoViewClose() = 0;
  virtual void MemoViewLoadMail(std::string_view header, std::string_view body) = 0;
};

// Runs the sequences and keeps what they share from start-up to clean-up. Nothing thrown by a
// step leaves a sequence.
class PluginLifecycle {
 public:
  explicit PluginLifecycle(PluginSteps& steps) : steps_(steps) {}

  // Checks the host's interface version (null is ""), binds the host and runs the start-up
  // steps; a failing step undoes the start-up without saving anything. While already started,
  // an accepted version answers true and changes nothing.
  bool StartUp(const char* version) noexcept;
  // Runs the clean-up steps, each even when an earlier one failed.
  void CleanUp() noexcept;
  // Captures and checks the mail; a mail that goes out adds its new domains to the domains
  // sent to when NewDomains is on. Then brings the X-Mailer-Plugin entry up to date when
  // HeaderOption is on, handing a changed header back whatever the answer. True to send. A
  // failure before the check's answer lets the mail through; after it, the answer stands. A
  // failure never touches the header.
  bool SendPost(HostWindow composition) noexcept;
  int32_t Setup() noexcept;
  void VersionInfo(HostWindow owner) noexcept;  // works with or without start-up
  void FolderCreate() noexcept;
  void ViewClose() noexcept;
  void ViewLoadMail(const char* header, const char* body) noexcept;  // null is ""

  bool started = false;      // start-up succeeded and clean-up has not run
  PatternSettings patterns;  // with HeaderOption on until the settings say otherwise

 private:
  void AbandonStartUp() noexcept;
  bool MemoLinked() const { return started && patterns.associateOption; }

  PluginSteps& steps_;
};

}  // namespace zv
