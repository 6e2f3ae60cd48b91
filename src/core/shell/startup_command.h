#pragma once

#include <string>
#include <vector>

namespace kelno {

// What the editor does at start, as its command line asks.
enum class StartupAction {
    NewDocument,  // no file named
    OpenFile,     // `fileName`
    PrintFile,    // "/p FILE": print `fileName` once on the default printer, then end
    PrintFileTo,  // "/pt FILE PRINTER": print `fileName` on `printerName`, then end
    Unregister,   // "/Unregister", "/Unregserver": remove the desktop registration, then end
    UsageError,   // the command line cannot be used; `error` says why, then the program ends
};

struct StartupCommand {
    StartupAction action = StartupAction::NewDocument;
    std::string fileName;
    std::string printerName;
    // "Embedding": the unregistration ends without its result message.
    bool quiet = false;
    // "--predict": the editor starts with the readings hidden, for pupils to predict them.
    bool predict = false;
    // For UsageError: the message to show, in the program's language, with the usage.
    std::string error;
};

// Reads the arguments that follow the program's name. Switches begin with '/' or '-':
// "p", "pt" and "dde" as written, "Unregister", "Unregserver" and "Embedding" in any case
// (these three also without a prefix). "/dde" is accepted and changes nothing. The one long
// option is "--predict". A word that begins with '/' but is no switch is an absolute path;
// "--" makes every later argument a file name.
StartupCommand ParseStartupCommand(const std::vector<std::string>& args);

}  // namespace kelno
