#include "ui/version_form.h"

namespace zv::ui {

namespace {

constexpr ControlDescription kVersionControls[] = {
    {.name = "Image1", .kind = ControlKind::kImage, .bounds = {8, 8, 32, 32}, .options = kAutoSize},
    {.name = "TextLabel",
     .kind = ControlKind::kLabel,
     .bounds = {56, 4, 0, 12},
     .options = kAutoSize},
    {.name = "Label3",
     .kind = ControlKind::kLabel,
     .caption = "Mailora32 専用 Tessaly Lab プラグイン",
     .bounds = {56, 16, 0, 12},
     .options = kAutoSize},
    {.name = "VersionLabel",
     .kind = ControlKind::kLabel,
     .bounds = {56, 32, 0, 12},
     .options = kAutoSize},
    {.name = "CopyrightLabel1",
     .kind = ControlKind::kLabel,
     .bounds = {76, 48, 0, 12},
     .options = kAutoSize},
    {.name = "CopyrightLabel2",
     .kind = ControlKind::kLabel,
     .bounds = {76, 60, 0, 12},
     .options = kAutoSize},
    {.name = "Bevel1",
     .kind = ControlKind::kBevel,
     .bounds = {15, 82, 322, 3},
     .options = kBottomLine},
    {.name = "OKButton",
     .kind = ControlKind::kButton,
     .caption = "ＯＫ",
     .bounds = {292, 8, 49, 21},
     .tabOrder = 0,
     .options = kDefault,
     .modalResult = kModalOk},
};

}  // namespace

const FormDescription kVersionFormDescription = {
    .name = "VersionForm",
    .className = "TVersionForm",
    .clientSize = Size{352, 126},
    .borderStyle = BorderStyle::bsSingle,
    .borderIcons = 0,
    .font = kFormFont,
    .color = kVersionFormColor,
    .controls = kVersionControls,
};

VersionTexts SetVersionTexts(std::string_view purpose, std::string_view name,
                             std::string_view version, std::string_view years) {
  VersionTexts t;
  t.caption.append(name).append(" のバージョン情報");
  t.text.assign(purpose);
  t.version.append(name).append(" ").append(version);
  t.copyright1.append("Copyright (C) ").append(years).append(" 真壁 透");
  t.copyright2.append("Copyright (C) ").append(years).append(" Tessaly Lab");
  return t;
}

}  // namespace zv::ui
