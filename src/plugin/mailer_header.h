// The X-Mailer-Plugin header field that names the plug-in in every mail it sends.
#pragma once

#include <string>
#include <string_view>

namespace zv {

// The field's line prefix: name, colon, one blank.
inline constexpr std::string_view kMailerFieldPrefix = "X-Mailer-Plugin: ";

// Adds the plug-in's entry to the X-Mailer-Plugin field of `header`, or brings an older entry
// of its own up to date. True when `header` changed; it is then its lines joined with CR LF
// after every line. False, and `header` untouched, when the current entry is already there.
// An empty header becomes the single field line.
bool AddMailerHeader(std::string& header);

}  // namespace zv
