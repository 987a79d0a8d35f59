#include "host_window.h"

#include <stdexcept>

namespace mailora {

namespace {

constexpr char kClassName[] = "MailoraSendWindow";

void RegisterClassOnce() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    return ::RegisterClassA(&wc) != 0;
  }();
  if (!registered) throw std::runtime_error("RegisterClass failed");
}

// A child placed at the bottom of its siblings' z-order, so that creation order is z-order.
HWND Child(HWND parent, const char* cls, const char* text, DWORD style = 0) {
  HWND w = ::CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 100, 20, parent,
                             nullptr, ::GetModuleHandleA(nullptr), nullptr);
  if (!w) throw std::runtime_error("CreateWindow failed");
  ::SetWindowPos(w, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return w;
}

}  // namespace

CompositionWindow::CompositionWindow(const std::string& body, const std::string& signature,
                                     bool wrapLines) {
  RegisterClassOnce();
  window_.reset(::CreateWindowExA(0, kClassName, "Mailora32 - compose", WS_OVERLAPPEDWINDOW, 0, 0,
                                  640, 480, nullptr, nullptr, ::GetModuleHandleA(nullptr),
                                  nullptr));
  if (!window_) throw std::runtime_error("CreateWindow failed");
  const HWND w = window_.get();

  const HWND editorPane = Child(w, "STATIC", "decoy: editor pane");
  body_ = Child(editorPane, "EDIT", "",
                ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL |
                    (wrapLines ? 0 : ES_AUTOHSCROLL | WS_HSCROLL));
  ::SendMessageA(body_, EM_SETLIMITTEXT, 0, 0);
  Child(editorPane, "EDIT", kSubjectDecoy);

  const HWND toolbar = Child(w, "STATIC", "decoy: toolbar");
  const char* const before[] = {"From",    "To",       "Cc",      "Bcc",    "Subject",
                                "Account", "Priority", "Charset", "Attach", "Signature"};
  for (const char* label : before) Child(toolbar, "STATIC", label);
  selector_ = Child(toolbar, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL);
  Child(toolbar, "STATIC", kAfterSelectorDecoy);

  Child(w, "STATIC", "decoy: status bar");

  SetBody(body);
  SetSignature(signature);
}

void CompositionWindow::SetBody(const std::string& body) {
  ::SetWindowTextA(body_, body.c_str());
}

void CompositionWindow::SetSignature(const std::string& signature) {
  ::SendMessageA(selector_, CB_RESETCONTENT, 0, 0);
  const LRESULT item =
      ::SendMessageA(selector_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(signature.c_str()));
  ::SendMessageA(selector_, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
}

}  // namespace mailora
