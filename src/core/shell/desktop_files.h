#pragma once

#include <string>
#include <string_view>

namespace kelno {

// The files that make the user's desktop know the editor and its documents
// (freedesktop.org desktop entries and shared-mime-info).
inline constexpr std::string_view kDocumentMimeType = "application/x-kelno";
inline constexpr std::string_view kIconName = "kelno";

// The desktop entry of the editor started as `executablePath`, opening one file (%f).
std::string DesktopEntryText(std::string_view executablePath);

// The shared-mime-info package that names "*.kel" files "Kelno Document".
std::string MimePackageText();

// `argument` written for an Exec line: quoted when it holds a reserved character, percent
// signs doubled, and escaped as a desktop entry's string value.
std::string ExecArgument(std::string_view argument);

// The Exec key of the "[Desktop Entry]" group of a desktop entry's text, with the string
// escapes (\s, \n, \t, \r, \\) undone; empty when there is none.
std::string DesktopEntryExec(std::string_view entryText);

}  // namespace kelno
