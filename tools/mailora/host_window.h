// A composition window laid out as Mailora32 lays out its own: the body editor is the first
// child of the first child, and the signature selector is the eleventh child of the second
// child, both counted down the z-order. Every other child holds text of its own, so a walk that
// strays reads the wrong text.
#pragma once

#include <windows.h>

#include <string>

#include "win/handles_win32.h"

namespace mailora {

class CompositionWindow {
 public:
  // `signature` is the selector's text: a signature name or "(無し)". Without `wrapLines` the
  // editor scrolls sideways instead of wrapping, which lets it take a text of megabytes quickly.
  CompositionWindow(const std::string& body, const std::string& signature, bool wrapLines = true);

  HWND hwnd() const { return window_.get(); }
  HWND body() const { return body_; }          // borrowed: a child of hwnd()
  HWND selector() const { return selector_; }  // borrowed: a child of hwnd()

  void SetBody(const std::string& body);
  void SetSignature(const std::string& signature);

 private:
  zv::win::UniqueWindow window_;  // destroying it destroys the children
  HWND body_ = nullptr;
  HWND selector_ = nullptr;
};

// The decoy texts around the two children the plug-in reads.
inline constexpr char kSubjectDecoy[] = "decoy: subject line";
inline constexpr char kAfterSelectorDecoy[] = "decoy: after the selector";

}  // namespace mailora
