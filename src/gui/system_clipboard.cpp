#include "system_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace kelno {

std::optional<std::string> SystemClipboard::ReadText() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) {
        return std::nullopt;
    }
    return data->text().toStdString();
}

void SystemClipboard::WriteText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

}  // namespace kelno
