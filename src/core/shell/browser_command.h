#pragma once

#include <string>
#include <string_view>

namespace kelno {

// The command line that opens `target` with a browser whose handler command is
// `handlerCommand` (a command with a "%1" placeholder for the address): the text is cut
// where a quoted "%1" begins (its opening quote included), else where a bare %1 begins,
// else kept whole; then a blank and the target are appended. Whatever followed the
// placeholder is dropped.
//
// The search works on bytes. Handler commands on Linux are UTF-8, in which every byte of a
// multi-byte character is 0x80 or above, so '"', '%' and '1' are never found inside one.
std::string BrowserCommandLine(std::string_view handlerCommand, std::string_view target);

// The handler command from a desktop entry's Exec line: its first address or file field
// code (%u, %U, %f, %F) becomes the placeholder %1, the other field codes are dropped and
// "%%" stands for a percent sign. An Exec line without a field code gets no placeholder.
std::string HandlerFromDesktopExec(std::string_view exec);

// The handler command from the BROWSER variable: its first command (commands are separated
// by ':'), with the conventional "%s" placeholder turned into %1.
std::string HandlerFromBrowserVariable(std::string_view browser);

}  // namespace kelno
