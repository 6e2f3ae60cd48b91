#include "open_link.h"

#include <QDesktopServices>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

#include "io/file_bytes.h"
#include "shell/browser_command.h"
#include "shell/desktop_files.h"

namespace kelno {

namespace {

// How long the desktop may take to name its default browser; the click waits for it.
constexpr int kQueryTimeoutMs = 2000;

// The desktop entry of the default browser, as xdg-settings names it ("firefox.desktop").
QString DefaultBrowserEntry() {
    QProcess query;
    query.start(QStringLiteral("xdg-settings"),
                {QStringLiteral("get"), QStringLiteral("default-web-browser")});
    if (!query.waitForFinished(kQueryTimeoutMs) || query.exitStatus() != QProcess::NormalExit ||
        query.exitCode() != 0) {
        query.kill();
        return {};
    }
    return QString::fromUtf8(query.readAllStandardOutput()).trimmed();
}

QString HandlerOfDesktopEntry(const QString& entryName) {
    if (entryName.isEmpty()) {
        return {};
    }
    // Read only if it is a regular file: a pipe in its place would hold the window.
    const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entryName);
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (path.isEmpty() || !ReadFileBytes(QFile::encodeName(path).toStdString(), bytes, error)) {
        return {};
    }
    const std::string exec = DesktopEntryExec(std::string(bytes.begin(), bytes.end()));
    return QString::fromStdString(HandlerFromDesktopExec(exec));
}

// The address with blanks and quotes escaped, so that it stays one argument.
std::string EncodedTarget(const QString& target) {
    return QUrl::fromUserInput(target).toString(QUrl::FullyEncoded).toStdString();
}

}  // namespace

QString BrowserHandlerCommand() {
    const QString browser = qEnvironmentVariable("BROWSER");
    if (!browser.isEmpty()) {
        return QString::fromStdString(HandlerFromBrowserVariable(browser.toStdString()));
    }
    return HandlerOfDesktopEntry(DefaultBrowserEntry());
}

void OpenLink(const QString& target) {
    if (QDesktopServices::openUrl(QUrl::fromUserInput(target))) {
        return;
    }
    const QString handler = BrowserHandlerCommand();
    if (handler.isEmpty()) {
        return;
    }
    const std::string line = BrowserCommandLine(handler.toStdString(), EncodedTarget(target));
    QStringList words = QProcess::splitCommand(QString::fromStdString(line));
    if (words.isEmpty()) {
        return;
    }
    const QString program = words.takeFirst();
    QProcess::startDetached(program, words);
}

}  // namespace kelno
