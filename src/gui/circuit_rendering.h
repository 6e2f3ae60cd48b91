#pragma once

#include <QColor>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QSize>
#include <string>

#include "io/bmp_writer.h"
#include "model/circuit.h"
#include "render/draw_circuit.h"
#include "view/view_scale.h"

namespace kelno {

// The resolution of the screen the pictures are made for.
inline constexpr int kScreenDpi = 96;

// The scale of a paint device from its logical resolution: a widget's screen, a printer's
// resolution, a picture's dots per metre.
ViewScale ScaleOf(const QPaintDevice& device);

// The drawing area of `pixels` device pixels in logical units, which the grid covers.
LogicalSize LogicalExtent(QSize pixels, const ViewScale& scale);

// Fills `area` (device pixels) with `background`, then draws the circuit over it.
// `thinLineWidth` as QPainterSurface::SetThinLineWidth.
void PaintCircuit(QPainter& painter, const ViewScale& scale, QRect area, QColor background,
                  const Circuit& circuit, const DrawSettings& settings,
                  const StatusSink& status = {}, qreal thinLineWidth = 0.0);

// The picture of a view: `size` pixels at the view's scale, on white. A null image when the
// size is empty or no memory is left.
QImage RenderViewImage(const Circuit& circuit, const DrawSettings& settings, QSize size,
                       const ViewScale& scale, const StatusSink& status = {});

// The same picture at the scale of a 96 dpi screen, whatever screen there is.
QImage RenderCircuitImage(const Circuit& circuit, const DrawSettings& settings, QSize size,
                          const StatusSink& status = {});

// The pixels of an image as 8-bit red, green and blue, rows from the top.
RgbImage ToRgbImage(const QImage& image);

// Prints the one page of a circuit: at true size (a component's body 16 mm long), placed
// relative to the top-left corner of the printable area as it is to the top-left corner of
// the view; what does not fit is cut off. On failure returns false with a message for the
// user in `error`.
bool PrintCircuitPage(QPagedPaintDevice& device, const Circuit& circuit,
                      const DrawSettings& settings, const StatusSink& status, std::string& error);

}  // namespace kelno
