// The WebAssembly build of the tool has no painter: pictures are drawn by the desktop
// build, or by the web page from the same drawing calls.
#include "command_line.h"
#include "commands.h"

namespace kelno::cli {

int RunRender(const std::vector<std::string>&) {
    PrintError(
        "render はこの版 (WebAssembly) では使えません。絵はﾃﾞｽｸﾄｯﾌﾟ版の kelno-cli render "
        "で描いてください。");
    return kExitUsage;
}

}  // namespace kelno::cli
