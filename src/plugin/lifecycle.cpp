#include "plugin/lifecycle.h"

#include "plugin/mailer_header.h"
#include "plugin/version_check.h"
#include "recipients/known_domains.h"
#include "ui/form_description.h"

namespace zv {

namespace {

// Runs one step; a failure in it does not stop the steps after it.
template <typename F>
void Step(F&& step) noexcept {
  try {
    step();
  } catch (...) {
  }
}

}  // namespace

bool PluginLifecycle::StartUp(const char* version) noexcept {
  try {
    if (!IsAcceptedHostVersion(version ? std::string_view(version) : std::string_view())) {
      return false;
    }
    if (started) return true;
    if (!steps_.BindHost()) return false;
  } catch (...) {
    Step([&] { steps_.UnbindHost(); });
    return false;
  }
  try {
    // A settings file that is there but cannot be read refuses start-up: running on defaults
    // would show the user settings that are not theirs, and none of the edits could be saved.
    if (steps_.LoadIniStore() == IniLoadResult::kUnreadable) {
      AbandonStartUp();
      return false;
    }
    steps_.CreateSetupDialog(patterns);
    steps_.LoadPatterns(patterns);
    steps_.EnableAssociateCheck(patterns.notavoInstalled);
  } catch (...) {
    AbandonStartUp();
    return false;
  }
  started = true;
  return true;
}

// Undoes a start-up that failed after the host was bound, without saving anything.
void PluginLifecycle::AbandonStartUp() noexcept {
  Step([&] { steps_.DestroySetupDialog(); });
  Step([&] { steps_.UnbindHost(); });
  Step([&] { steps_.FreeIniStore(); });
  started = false;
}

void PluginLifecycle::CleanUp() noexcept {
  if (!started) return;
  started = false;
  Step([&] { steps_.SavePatterns(patterns); });
  Step([&] { steps_.DestroySetupDialog(); });
  Step([&] { steps_.UnbindHost(); });
  Step([&] { steps_.FreeIniStore(); });
}

bool PluginLifecycle::SendPost(HostWindow composition) noexcept {
  if (!started) return true;
  bool send = true;
  try {
    OutgoingMail mail = steps_.CaptureMail(composition);
    // The check sees the header as the host gave it, before the plug-in's own entry.
    const SendVerdict verdict = steps_.CheckMail(patterns, composition, mail);
    send = verdict.send;
    // Kept in memory like the patterns, and written at clean-up.
    if (send && patterns.recipients.newDomains) {
      AppendKnownDomains(patterns.recipients.knownDomains, verdict.newDomains);
    }
    if (patterns.headerOption && AddMailerHeader(mail.header)) {
      steps_.SetHeader(composition, mail.header);
    }
  } catch (...) {
  }
  return send;
}

int32_t PluginLifecycle::Setup() noexcept {
  try {
    if (started) return steps_.ShowSetupDialog();
  } catch (...) {
  }
  return ui::kModalCancel;  // as if the dialog had been cancelled
}

void PluginLifecycle::VersionInfo(HostWindow owner) noexcept {
  Step([&] { steps_.ShowAboutBox(owner); });
}

void PluginLifecycle::FolderCreate() noexcept {
  if (MemoLinked()) Step([&] { steps_.MemoFolderCreate(); });
}

void PluginLifecycle::ViewClose() noexcept {
  if (MemoLinked()) Step([&] { steps_.MemoViewClose(); });
}

void PluginLifecycle::ViewLoadMail(const char* header, const char* body) noexcept {
  if (!MemoLinked()) return;
  Step([&] { steps_.MemoViewLoadMail(header ? header : "", body ? body : ""); });
}

}  // namespace zv
