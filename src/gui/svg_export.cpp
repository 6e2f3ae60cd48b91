#include "svg_export.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QSvgGenerator>
#include <string>

#include "circuit_rendering.h"
#include "io/file_bytes.h"

namespace kelno {

namespace {

constexpr const char* kCannotMakeSvg = "SVG の画像を作れませんでした。";

}  // namespace

QByteArray RenderCircuitSvg(const Circuit& circuit, const DrawSettings& settings, QSize size,
                            const StatusSink& status, int dpi) {
    if (size.isEmpty() || dpi <= 0) {
        return {};
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(dpi);
    generator.setTitle(QStringLiteral("Kelno"));
    QPainter painter;
    if (!painter.begin(&generator)) {
        return {};
    }
    PaintCircuit(painter, ViewScale::FromDpi(dpi, dpi), QRect(QPoint(0, 0), size), Qt::white,
                 circuit, settings, status);
    if (!painter.end()) {
        return {};
    }
    return bytes;
}

bool SaveCircuitSvg(const QString& path, const Circuit& circuit, const DrawSettings& settings,
                    QSize size, QString& error, int dpi) {
    const QByteArray svg = RenderCircuitSvg(circuit, settings, size, {}, dpi);
    if (svg.isEmpty()) {
        error = QString::fromUtf8(kCannotMakeSvg);
        return false;
    }
    std::string message;
    const auto* data = reinterpret_cast<const std::uint8_t*>(svg.constData());
    if (!WriteFileAtomically(QFile::encodeName(path).toStdString(),
                             {data, static_cast<std::size_t>(svg.size())}, message)) {
        error = QString::fromStdString(message);
        return false;
    }
    return true;
}

}  // namespace kelno
