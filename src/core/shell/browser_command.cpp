#include "shell/browser_command.h"

namespace kelno {

namespace {

constexpr std::string_view kQuotedPlaceholder = "\"%1\"";
constexpr std::string_view kPlaceholder = "%1";

// Where the handler command is cut: at the quoted placeholder, else at the bare one.
std::string_view::size_type CutPosition(std::string_view command) {
    const auto quoted = command.find(kQuotedPlaceholder);
    if (quoted != std::string_view::npos) {
        return quoted;
    }
    const auto bare = command.find(kPlaceholder);
    return bare != std::string_view::npos ? bare : command.size();
}

bool IsAddressFieldCode(char code) {
    return code == 'u' || code == 'U' || code == 'f' || code == 'F';
}

}  // namespace

std::string BrowserCommandLine(std::string_view handlerCommand, std::string_view target) {
    std::string line(handlerCommand.substr(0, CutPosition(handlerCommand)));
    line += ' ';
    line += target;
    return line;
}

std::string HandlerFromDesktopExec(std::string_view exec) {
    std::string handler;
    bool placed = false;
    for (std::string_view::size_type i = 0; i < exec.size(); ++i) {
        if (exec[i] != '%' || i + 1 == exec.size()) {
            handler += exec[i];
            continue;
        }
        const char code = exec[++i];
        if (code == '%') {
            handler += '%';
        } else if (IsAddressFieldCode(code) && !placed) {
            handler += kPlaceholder;
            placed = true;
        }
        // Every other field code (%i, %c, %k, a second address) stands for nothing here.
    }
    return handler;
}

std::string HandlerFromBrowserVariable(std::string_view browser) {
    std::string handler(browser.substr(0, browser.find(':')));
    const auto placeholder = handler.find("%s");
    if (placeholder != std::string::npos) {
        handler.replace(placeholder, 2, kPlaceholder);
    }
    return handler;
}

}  // namespace kelno
