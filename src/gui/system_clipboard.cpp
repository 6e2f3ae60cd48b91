#include "system_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>

namespace kelno {

std::optional<std::string> SystemClipboard::ReadText() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) {
        return std::nullopt;
    }
    return data->text().toStdString();
}

std::optional<std::string> SystemClipboard::ReadStart(std::size_t bytes) const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) {
        return std::nullopt;
    }
    // The text's bytes as the clipboard holds them: its start is enough to know circuit text,
    // which is plain ASCII, and a cut in the middle of a character does no harm there.
    const QByteArray raw = data->data(QStringLiteral("text/plain"));
    const qsizetype length = std::min<qsizetype>(raw.size(), static_cast<qsizetype>(bytes));
    return std::string(raw.constData(), static_cast<std::size_t>(length));
}

void SystemClipboard::WriteText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

}  // namespace kelno
