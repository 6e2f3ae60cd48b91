#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include "circuit_rendering.h"
#include "model/circuit.h"
#include "render/draw_circuit.h"

namespace kelno {

// The view's picture as an SVG document: `size` pixels of the view at the scale of a screen
// of `dpi` dots per inch (96 unless told), on white, the same picture as the bitmap export,
// with every label as text that a drawing program can edit. Empty when the picture cannot
// be made.
QByteArray RenderCircuitSvg(const Circuit& circuit, const DrawSettings& settings, QSize size,
                            const StatusSink& status = {}, int dpi = kScreenDpi);

// Saves that picture into `path`, replacing the file only once the picture is complete. On
// failure returns false with a message for the user in `error`.
bool SaveCircuitSvg(const QString& path, const Circuit& circuit, const DrawSettings& settings,
                    QSize size, QString& error, int dpi = kScreenDpi);

}  // namespace kelno
