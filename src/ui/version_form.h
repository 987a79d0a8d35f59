// The About box (form VersionForm, module uVersion): its description, its texts and where it
// goes on the screen. The window shell is version_form_win32.
#pragma once

#include <string>
#include <string_view>

#include "ui/form_description.h"
#include "ui/geometry.h"

namespace zv::ui {

extern const FormDescription kVersionFormDescription;

// The background colour 15531007.
inline constexpr Color kVersionFormColor = 0xECFBFF;

struct VersionTexts {
  std::string caption;     // the window's
  std::string text;        // TextLabel: the purpose
  std::string version;     // VersionLabel: name and version
  std::string copyright1;  // CopyrightLabel1: the author
  std::string copyright2;  // CopyrightLabel2: the maker
};

// The captions for purpose, name, version and year range.
VersionTexts SetVersionTexts(std::string_view purpose, std::string_view name,
                             std::string_view version, std::string_view years);

// The About box's purpose text.
inline constexpr std::string_view kVersionPurpose = "禁句警告プラグイン";

}  // namespace zv::ui
