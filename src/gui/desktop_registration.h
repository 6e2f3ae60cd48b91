#pragma once

namespace kelno {

// Makes the user's desktop know the editor: a desktop entry that opens a file with it, the
// document type application/x-kelno for "*.kel" files ("Kelno Document") and the icon, all
// in the user's data folder ($XDG_DATA_HOME, else ~/.local/share). Called at every start:
// files already as they should be are left alone, the desktop's databases are brought up to
// date in the background, and nothing that goes wrong is reported or stops the start.
void RegisterDesktopIntegration();

// Removes what the registration wrote and the program's settings. True when all of it is
// gone (also when it was never there).
bool UnregisterDesktopIntegration();

}  // namespace kelno
