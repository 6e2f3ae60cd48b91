#include "circuit_rendering.h"

#include <cmath>
#include <cstring>

#include "qpainter_surface.h"

namespace kelno {

namespace {

constexpr const char* kCannotPrint = "印刷を開始できませんでした。";

}  // namespace

ViewScale ScaleOf(const QPaintDevice& device) {
    return ViewScale::FromDpi(device.logicalDpiX(), device.logicalDpiY());
}

LogicalSize LogicalExtent(QSize pixels, const ViewScale& scale) {
    return {scale.PixelsToUnitsX(pixels.width()), scale.PixelsToUnitsY(pixels.height())};
}

void PaintCircuit(QPainter& painter, const ViewScale& scale, QRect area, QColor background,
                  const Circuit& circuit, const DrawSettings& settings, const StatusSink& status,
                  qreal thinLineWidth) {
    painter.fillRect(area, background);
    QPainterSurface surface(painter, scale, background);
    surface.SetThinLineWidth(thinLineWidth);
    DrawCircuit(circuit, surface, settings, status);
}

QImage RenderViewImage(const Circuit& circuit, const DrawSettings& settings, QSize size,
                       const ViewScale& scale, const StatusSink& status) {
    if (size.isEmpty()) {
        return {};
    }
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        return {};
    }
    constexpr double kMetresPerInch = 0.0254;
    constexpr double kUnitsPerInch = 254.0;  // logical units are 0.1 mm
    image.setDotsPerMeterX(
        static_cast<int>(std::lround(scale.pixelsPerUnitX() * kUnitsPerInch / kMetresPerInch)));
    image.setDotsPerMeterY(
        static_cast<int>(std::lround(scale.pixelsPerUnitY() * kUnitsPerInch / kMetresPerInch)));
    QPainter painter(&image);
    PaintCircuit(painter, scale, image.rect(), Qt::white, circuit, settings, status);
    return image;
}

QImage RenderCircuitImage(const Circuit& circuit, const DrawSettings& settings, QSize size,
                          const StatusSink& status) {
    return RenderViewImage(circuit, settings, size, ViewScale::FromDpi(kScreenDpi, kScreenDpi),
                           status);
}

RgbImage ToRgbImage(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    RgbImage out{rgb.width(), rgb.height(), {}};
    const auto rowBytes = static_cast<std::size_t>(rgb.width()) * 3;
    out.rgb.resize(rowBytes * static_cast<std::size_t>(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y) {
        // Rows of a QImage are padded to 32 bits; the picture's rows are not.
        std::memcpy(out.rgb.data() + rowBytes * static_cast<std::size_t>(y), rgb.constScanLine(y),
                    rowBytes);
    }
    return out;
}

bool PrintCircuitPage(QPagedPaintDevice& device, const Circuit& circuit,
                      const DrawSettings& settings, const StatusSink& status, std::string& error) {
    QPainter painter;
    if (!painter.begin(&device)) {
        error = kCannotPrint;
        return false;
    }
    // The painter's origin is the top-left corner of the printable area, and the device's
    // resolution gives the true size. Paper stays white: nothing is filled.
    {
        QPainterSurface surface(painter, ScaleOf(device), Qt::white);
        DrawCircuit(circuit, surface, settings, status);
    }
    if (!painter.end()) {
        error = kCannotPrint;
        return false;
    }
    return true;
}

}  // namespace kelno
