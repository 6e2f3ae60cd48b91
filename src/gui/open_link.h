#pragma once

#include <QString>

namespace kelno {

// Opens a web address in the user's browser. When the desktop cannot open it, the
// browser's own command is run with the address: the BROWSER variable's first command, else
// the command of the desktop's default browser. Nothing is reported when neither works.
void OpenLink(const QString& target);

// The browser command with its placeholder %1 for the address (see BrowserCommandLine);
// empty when no browser is known.
QString BrowserHandlerCommand();

}  // namespace kelno
